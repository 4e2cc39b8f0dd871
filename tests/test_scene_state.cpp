// The scene state's by-name table: every field reachable, values parsed
// strictly, and a typo answered with the names it was probably meant to be.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "scene/scene_state.h"
#include "settings/settings_fields.h"

namespace quorbel {
namespace {

TEST(SceneFieldTable, NamesAreUniqueAndCoverTheSettingsFields) {
    std::set<std::string> names;
    for (const FieldInfo& info : SceneFieldTable()) EXPECT_TRUE(names.insert(info.name).second) << info.name;
    for (const SettingsField& field : SettingsFields()) EXPECT_TRUE(names.count(field.name)) << field.name;
}

TEST(SceneFieldAccess, SetsAndGetsEveryKind) {
    SceneState state;
    EXPECT_FALSE(SetSceneField(state, "tunnelShown", "2"));
    EXPECT_EQ(state.tunnelShown, 2);
    EXPECT_FALSE(SetSceneField(state, "textPosX", "-1.25"));
    EXPECT_EQ(state.textPosX, -1.25f);
    EXPECT_FALSE(SetSceneField(state, "backgroundColour", "0xff8040"));
    EXPECT_EQ(state.backgroundColour, 0x004080ffu) << "typed red first, kept as a colour reference";
    EXPECT_FALSE(SetSceneField(state, "titleText", "100% Title"));
    EXPECT_EQ(state.titleText, "100% Title");
    EXPECT_EQ(*GetSceneField(state, "tunnelShown"), "2");
    EXPECT_EQ(*GetSceneField(state, "textPosX"), "-1.25");
    EXPECT_EQ(*GetSceneField(state, "titleText"), "100% Title");
}

TEST(SceneFieldAccess, RefusesMalformedValuesAndLeavesTheFieldAlone) {
    SceneState state;
    struct Case { const char* name; const char* value; };
    for (Case bad : {Case{"tunnelShown", "two"}, Case{"tunnelShown", "2.5"}, Case{"tunnelShown", ""},
                     Case{"tunnelShown", "99999999999"}, Case{"textPosX", "1.0x"}, Case{"textPosX", "inf"},
                     Case{"textPosX", "nan"}, Case{"backgroundColour", "-1"}}) {
        auto error = SetSceneField(state, bad.name, bad.value);
        ASSERT_TRUE(error) << bad.name << "=" << bad.value;
        EXPECT_NE(error->find(bad.name), std::string::npos) << *error;
    }
    EXPECT_EQ(state.tunnelShown, 0);
    EXPECT_EQ(state.textPosX, 0.0f);
    EXPECT_TRUE(SetSceneField(state, "titleText", std::string(256, 'x')));
    std::string longest;
    for (int i = 0; i < 255; ++i) longest += "\u6771";
    EXPECT_FALSE(SetSceneField(state, "titleText", longest)) << "255 characters fit, however many bytes";
    EXPECT_EQ(state.titleText, longest);
}

TEST(SceneFieldAccess, UnknownNameSuggestsCloseNames) {
    SceneState state;
    auto error = SetSceneField(state, "tunelShown", "2");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("tunnelShown"), std::string::npos) << *error;
    EXPECT_FALSE(GetSceneField(state, "tunelShown"));
    auto close = CloseFieldNames("particlecount");
    ASSERT_FALSE(close.empty());
    EXPECT_EQ(close.front(), "particleCount");
}

}  // namespace
}  // namespace quorbel
