// A settings file is untrusted: any 32-bit value in any field is accepted,
// and whatever the effects then do with it must stay in bounds, finish, and
// keep every position finite. Each record here is loaded through Open and
// followed by frames with every effect shown on a small surface. The same
// values reach the live parameters by name too, as the panels will hand
// them on from the file's copies. ./test.sh runs this file again under the
// address and undefined-behaviour sanitizers.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/headless/command_line.h"
#include "commands/documents.h"
#include "panels/panel_registry.h"
#include "support/scripted_platform.h"
#include "scene/frame_driver.h"
#include "scene/scene_state.h"
#include "scene/title_text.h"
#include "settings/settings_record.h"
#include "support/gl_test_env.h"
#include "support/hostile_scene.h"

namespace quorbel {
namespace {

constexpr int kSide = 48;
constexpr int kFrames = 2;  // the value used, stepped, and used again
constexpr int kRandomRecords = 300;
const std::int32_t kExtremes[] = {INT32_MIN, -1, 0, 1, 2, 30001, INT32_MAX};

// ----- the scenes a hostile value meets ---------------------------------
//
// Most of what an effect does with a value runs only while one of its
// switches is on: a star zoom range is only stepped through while the zoom
// loops. So besides the fresh scene there are two busy ones, in which every
// switch and direction is on (2 in one, 4, the other direction, in the
// other); the first leaves the radial blur off so that the motion blur runs.

enum class Scene { Fresh, BusyForwardMotionBlur, BusyBackwardRadialBlur };

// Left alone in the busy scenes: pausing would stop every step, and the
// rest is bookkeeping that no file or panel sets.
bool KeptInBusyScenes(const std::string& name) {
    static const std::set<std::string> kept = {"paused",       "particleCount", "keyTarget",  "startupStage",
                                               "viewWidth",    "viewHeight",    "textHidden", "starsHidden",
                                               "motionTextureMade"};
    return kept.count(name) > 0;
}

SceneState BusyScene(const SceneState& fresh, std::int32_t on, bool radialBlur) {
    SceneState busy = fresh;
    for (const FieldInfo& info : SceneFieldTable())
        if (info.kind == FieldKind::Int32 && !KeptInBusyScenes(info.name)) busy.*info.int32Field = on;
    busy.radialBlurOn = radialBlur ? on : 0;
    busy.particleCount = 300;  // the same code as 30000, at a tenth of the cost
    return busy;
}

std::string NameOf(Scene which) {
    switch (which) {
        case Scene::Fresh: return "Fresh";
        case Scene::BusyForwardMotionBlur: return "BusyForwardMotionBlur";
        case Scene::BusyBackwardRadialBlur: return "BusyBackwardRadialBlur";
    }
    return "?";
}

// ----- the run ------------------------------------------------------------

class HostileRun : public ::testing::TestWithParam<Scene> {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(testing::Engine(kSide, kSide));
        ASSERT_TRUE(testing::FreshScene());
        scene.startupStage = 2;  // the start-up read is not what is tested
        fresh_ = new SceneState(scene);
    }
    static void TearDownTestSuite() {
        delete fresh_;
        fresh_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(fresh_);
        std::ofstream("Text.TXT") << "Hostile";
        switch (GetParam()) {
            case Scene::Fresh: baseline_ = *fresh_; break;
            case Scene::BusyForwardMotionBlur: baseline_ = BusyScene(*fresh_, 2, false); break;
            case Scene::BusyBackwardRadialBlur: baseline_ = BusyScene(*fresh_, 4, true); break;
        }
        testing::RestartEffects(baseline_);
        const SettingsBytes bytes = StoreSettingsRecord(baseline_);
        baselineRecord_.assign(bytes.begin(), bytes.end());
    }

    // Every field's ordinary values (0, 1, 2) meet the fresh scene; the busy
    // scenes already hold ordinary values everywhere and meet the extremes.
    std::vector<std::int32_t> Values() const {
        if (GetParam() == Scene::Fresh) return {std::begin(kExtremes), std::end(kExtremes)};
        return {INT32_MIN, -1, 30001, INT32_MAX};
    }
    // The particles carry over from one value to the next: rebuilding all
    // 30,000 would cost more than the frames, and a value that broke them
    // is caught in the frames it was given.
    void Restart() { testing::RestartEffects(baseline_, false); }
    void OpenRecord(const std::vector<std::uint8_t>& record) {
        Restart();
        std::ofstream("hostile.qrl", std::ios::binary)
            .write(reinterpret_cast<const char*>(record.data()), static_cast<std::streamsize>(record.size()));
        platform_->openAnswers.push_back("hostile.qrl");
        OpenSettings();
        ASSERT_TRUE(platform_->messages.empty()) << platform_->messages.front().text;
    }
    // Empty when the frames ran with every position finite.
    static std::string RenderAndCheck() {
        testing::ShowEveryEffect();
        for (int i = 0; i < kFrames; ++i) {
            RenderFrame();
            if (auto problem = testing::NonFinitePosition(); !problem.empty())
                return problem + " after frame " + std::to_string(i + 1);
        }
        return {};
    }
    std::vector<std::uint8_t> BaselineWithField(std::size_t index, std::int32_t value) const {
        std::vector<std::uint8_t> record = baselineRecord_;
        for (int i = 0; i < 4; ++i)
            record[8 * index + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
        return record;
    }

    testing::TempDirectory folder_;
    ScopedScriptedPlatform platform_;
    SceneState baseline_;
    std::vector<std::uint8_t> baselineRecord_;
    static SceneState* fresh_;
};

SceneState* HostileRun::fresh_ = nullptr;

std::string NameOfParam(const ::testing::TestParamInfo<Scene>& info) { return NameOf(info.param); }

// ----- records through Open -----------------------------------------------

using HostileRecords = HostileRun;

TEST_P(HostileRecords, EveryFieldAtEveryExtremeValue) {
    for (const SettingsField& field : SettingsFields()) {
        for (std::int32_t value : Values()) {
            OpenRecord(BaselineWithField(field.index, value));
            ASSERT_EQ(RenderAndCheck(), "") << field.name << " (field " << field.index << ") = " << value;
        }
    }
}

TEST_P(HostileRecords, RandomRecords) {
    std::mt19937 random(20240611 + static_cast<int>(GetParam()));
    std::vector<std::uint8_t> record(kSettingsFileSize);
    for (int n = 0; n < kRandomRecords / 3; ++n) {
        for (auto& byte : record) byte = static_cast<std::uint8_t>(random());
        OpenRecord(record);
        ASSERT_EQ(RenderAndCheck(), "") << "random record " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Scenes, HostileRecords,
                         ::testing::Values(Scene::Fresh, Scene::BusyForwardMotionBlur, Scene::BusyBackwardRadialBlur),
                         NameOfParam);

// ----- live parameters by name --------------------------------------------

// The fields of the record are swept above; texture and list names, the
// view size and the start-up stage are the program's own bookkeeping, which
// no file or panel sets.
bool SweptAsLiveParameter(const FieldInfo& info) {
    if (info.kind == FieldKind::Text) return false;
    static const std::set<std::string> bookkeeping = {"viewWidth", "viewHeight", "startupStage", "textListBase"};
    const std::string name = info.name;
    if (bookkeeping.count(name) || name.ends_with("Texture")) return false;
    for (const SettingsField& field : SettingsFields())
        if (name == field.name) return false;
    return true;
}

// A live parameter matters while its effect moves, so only the busy scenes.
using HostileLiveValues = HostileRun;

TEST_P(HostileLiveValues, EveryLiveParameterAtEveryExtremeValue) {
    for (const FieldInfo& info : SceneFieldTable()) {
        if (!SweptAsLiveParameter(info)) continue;
        for (std::int32_t value : Values()) {
            if (info.kind == FieldKind::UInt32 && value < 0) continue;
            Restart();
            ASSERT_FALSE(SetSceneField(scene, info.name, std::to_string(value))) << info.name;
            ASSERT_EQ(RenderAndCheck(), "") << info.name << " = " << value;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scenes, HostileLiveValues,
                         ::testing::Values(Scene::BusyForwardMotionBlur, Scene::BusyBackwardRadialBlur), NameOfParam);

// ----- hostile titles -----------------------------------------------------

std::vector<std::string> HostileTitles() {
    std::string tenThousand, combining, controls, cjk;
    for (int i = 0; i < 5000; ++i) tenThousand += "W\u6771";
    for (int i = 0; i < 10000; ++i) combining += "\u0301";
    for (int i = 0; i < 10000; ++i) controls += static_cast<char>(i % 33 == 32 ? 127 : i % 33);
    for (char32_t c = 0x4E00; c < 0x4E00 + 200; ++c)
        cjk += {'\xE4', static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    return {"\xff\xfe\xc3\x28\x80 bad", tenThousand, combining, controls, "A\xed\xa0\x80Z\xed\xbf\xbf", cjk,
            std::string(300, '\n')};
}

// Empty when the scene's title keeps the title's rules.
std::string TitleProblem() {
    const std::string_view title = scene.titleText.view();
    if (!IsValidUtf8(title)) return "invalid UTF-8";
    if (!FitsInTitle(title)) return std::to_string(CharacterCount(title)) + " characters";
    for (char c : title)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7f) return "a control character";
    return {};
}

using HostileTitleRun = HostileRun;

// Through every way a title comes in: the title file with Open, --title,
// the Text panel's box and --set.
TEST_P(HostileTitleRun, EveryWayInKeepsTheLimitsAndRenders) {
    const std::pair<const char*, std::function<void(const std::string&)>> routes[] = {
        {"title file", [this](const std::string& title) {
             std::ofstream("Text.TXT", std::ios::binary) << title;
             OpenRecord(baselineRecord_);
         }},
        {"--title", [](const std::string& title) {
             HeadlessOptions options;
             ParseHeadlessOptions({"--title", title}, options);
             if (options.title) scene.titleText.Assign(*options.title);
         }},
        {"panel", [](const std::string& title) { CreatePanel(PanelKind::Text).ChangeText(1002, title); }},
        {"--set", [](const std::string& title) { SetSceneField(scene, "titleText", title); }},
    };
    for (const auto& [route, give] : routes) {
        for (const std::string& title : HostileTitles()) {
            Restart();
            give(title);
            ASSERT_EQ(TitleProblem(), "") << route << ": " << title.substr(0, 40);
            ASSERT_EQ(RenderAndCheck(), "") << route << ": " << title.substr(0, 40);
        }
    }
    DiscardAllPanels();
}

INSTANTIATE_TEST_SUITE_P(Scenes, HostileTitleRun, ::testing::Values(Scene::Fresh), NameOfParam);

}  // namespace
}  // namespace quorbel
