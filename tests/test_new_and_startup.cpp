// New brings every effect back to its built-in values, and the first frame
// reads "settings.qrl" through the settings record.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "commands/documents.h"
#include "scene/frame_driver.h"
#include "scene/scene_state.h"
#include "settings/settings_record.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

class NewSettings : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(engine_ = testing::FreshScene()); }
    HeadlessEngine* engine_ = nullptr;
};

TEST_F(NewSettings, AfterNewOnlyTheTitleShowsStandingStillInWhite) {
    for (const char* set : {"tunnelShown=2", "starsHidden=0", "particlesShown=2", "fireShown=2", "tilesShown=2",
                            "textHidden=2", "textSpinY=2", "textSpinSpeedY=5", "radialBlurOn=2", "blurActive=2",
                            "paused=2", "textRed=0.2"}) {
        const std::string text(set);
        const auto eq = text.find('=');
        ASSERT_FALSE(SetSceneField(scene, text.substr(0, eq), text.substr(eq + 1))) << set;
    }
    ResetToDefaults();
    EXPECT_NE(scene.textListBase, 0u) << "the glyphs were rebuilt";
    engine_->RenderFrames(1);
    const auto first = engine_->ReadPixels();
    engine_->RenderFrames(1);
    EXPECT_EQ(engine_->ReadPixels(), first) << "nothing moves after New";
    EXPECT_GT(testing::CountLitPixels(first), 500) << "the title is drawn";
    EXPECT_EQ(scene.textRed, 255.0f) << "the white request was taken at the first draw";
}

// Names up to twice the next one handed out, so names reused or not are covered.
template <typename IsName>
int LiveNames(IsName isName, GLuint next) {
    int live = 0;
    for (GLuint name = 1; name < 2 * next + 64; ++name) live += isName(name) ? 1 : 0;
    return live;
}

std::pair<int, int> LiveTexturesAndLists() {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glDeleteTextures(1, &texture);
    const GLuint list = glGenLists(1);
    glDeleteLists(list, 1);
    return {LiveNames([](GLuint n) { return glIsTexture(n) == GL_TRUE; }, texture),
            LiveNames([](GLuint n) { return glIsList(n) == GL_TRUE; }, list)};
}

// New, chosen again and again in a long session, must not pile up textures
// or glyph lists.
TEST_F(NewSettings, RepeatedNewKeepsTheNumberOfTexturesAndLists) {
    ResetToDefaults();
    engine_->RenderFrames(2);
    const auto before = LiveTexturesAndLists();
    for (int i = 0; i < 3; ++i) {
        ResetToDefaults();
        engine_->RenderFrames(2);
    }
    EXPECT_EQ(LiveTexturesAndLists(), before) << "(textures, display lists)";
}

TEST(StartupRead, FirstFrameLoadsTheRecordButNotTheTitle) {
    ASSERT_TRUE(testing::FreshScene());
    testing::TempDirectory folder;
    testing::LinkDefaultPictures();
    ForgetSettingsBuffers();
    SceneState saved;
    saved.particleCount = 777;
    saved.clearBlue = 0.5f;
    saved.starsToggleCount = 1;
    const SettingsBytes record = StoreSettingsRecord(saved);
    std::ofstream("settings.qrl", std::ios::binary).write(reinterpret_cast<const char*>(record.data()), record.size());
    std::ofstream("Text.TXT") << "Not at start-up";
    const std::uint32_t particleTexture = scene.particleTexture;
    InstallStartupSettingsSteps();
    ResetOpenFailureReport();
    EXPECT_EQ(RenderFrame(), 1);
    FrameDriverStartupSteps() = {};
    EXPECT_EQ(scene.startupStage, 2);
    EXPECT_EQ(scene.particleCount, 777);
    EXPECT_EQ(scene.clearBlue, 0.5f);
    EXPECT_EQ(scene.starsToggleCount, 1);
    EXPECT_EQ(scene.titleText.view(), "Quorbel");
    EXPECT_NE(scene.particleTexture, particleTexture) << "the particle texture was loaded again";
    EXPECT_EQ(scene.particlesShown, 0);
}

}  // namespace
}  // namespace quorbel
