// --settings: the headless mode opens a saved scene as the window's Open
// does, panels and all, so the scene renders the same with and without a
// window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "commands/documents.h"
#include "commands/panel_wiring.h"
#include "panel_test_helpers.h"
#include "scene/frame_driver.h"
#include "support/process.h"

namespace quorbel {
namespace {

using testing::RunQuorbel;

constexpr int kFrames = 12;

// A scene whose look comes through the panels: the tunnel's twist and warp
// and the title's spin exist in the file only as the panels' copies.
void SavedPanelScene() {
    scene.tunnelUsed = 2, scene.tunnelTwistPos = 3, scene.tunnelWarpAPos = 10, scene.tunnelSpeedPos = 20;
    scene.textUsed = 2, scene.textSpinXChecked = 1, scene.textSpinSpeedXSaved = 8, scene.textZoomStartSaved = 3;
    scene.tilesUsed = 2, scene.tile1ShownSaved = scene.tile1TransparentSaved = 2, scene.tile1ZoomSaved = -30;
    scene.particlesUsed = scene.starsUsed = scene.fireUsed = scene.blurUsed = 0;
    scene.radialBlurOn = scene.motionBlurOn = scene.blurActive = 0;
    // Colours the file keeps as they are, so the layers are not black.
    scene.tunnelRed = scene.tunnelGreen = scene.tunnelBlue = 1.0f;
    scene.tile1Red = scene.tile1Green = scene.tile1Blue = 0.5f;
    scene.textRed = scene.textGreen = scene.textBlue = 1.0f;
}

class SettingsOption : public testing::PanelTest {
protected:
    // The scene is set up in the source folder (its pictures); the files are
    // saved to and read from a folder of the test's own.
    void SetUp() override {
        testing::PanelTest::SetUp();
        std::filesystem::current_path(folder_.path());
        testing::LinkDefaultPictures();
        SavedPanelScene();
        ASSERT_TRUE(SaveSettingsFile("scene.qrl"));
        // Back to the built-in scene, as a new run starts.
        ASSERT_TRUE(testing::FreshScene());
        DiscardAllPanels();
        std::filesystem::current_path(folder_.path());
    }
    void TearDown() override {
        RemoveControlPanels();
        testing::PanelTest::TearDown();
    }
    testing::TempDirectory folder_;
};

// What the window does: the first frame, the user's Open, the later frames.
std::vector<std::uint8_t> RenderAsTheWindowDoes(HeadlessEngine& engine) {
    InstallControlPanels();
    ResetOpenFailureReport();
    ::testing::internal::CaptureStderr();
    RenderFrame();
    ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(OpenSettingsFile("scene.qrl"));
    engine.RenderFrames(kFrames);
    return engine.ReadPixels();
}

TEST_F(SettingsOption, ASavedSceneRendersAsTheWindowShowsIt) {
    auto run = RunQuorbel("--settings scene.qrl --frames " + std::to_string(kFrames) +
                          " --snapshot headless.png --get tunnelTwist --get textSpinX --get tile1Zoom");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // The panels Open made took their copies into the live values.
    EXPECT_EQ(run.out, "tunnelTwist=3\ntextSpinX=2\ntile1Zoom=-30\n");
    int width = 0, height = 0;
    std::vector<std::uint8_t> headless;
    ASSERT_TRUE(testing::ReadPng("headless.png", width, height, headless));
    HeadlessEngine* engine = testing::Engine();
    ASSERT_EQ(width, engine->width());
    ASSERT_EQ(height, engine->height());
    const std::vector<std::uint8_t> window = RenderAsTheWindowDoes(*engine);
    EXPECT_EQ(scene.tunnelTwist, 3.0f);
    // The PNG is top row first, the read-back bottom row first.
    int differing = 0, lit = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto a = testing::PixelAt(window, width, x, height - 1 - y);
            const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
            const int r = headless[at], g = headless[at + 1], b = headless[at + 2];
            lit += r + g + b > 48;
            differing += std::abs(a.r - r) > 2 || std::abs(a.g - g) > 2 || std::abs(a.b - b) > 2;
        }
    EXPECT_GT(lit, width * height / 4) << "the saved tunnel and tiles fill the frame";
    EXPECT_EQ(differing, 0);
}

TEST_F(SettingsOption, AFileThatCannotBeOpenedIsAnErrorAndRendersNothingFromIt) {
    auto run = RunQuorbel("--settings missing.qrl --snapshot out.png");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("missing.qrl"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists("out.png"));
}

}  // namespace
}  // namespace quorbel
