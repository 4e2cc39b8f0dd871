// The frame driver: every frame renders; the start-up work waits for
// "settings.qrl", retries each frame, reports the failure once, and runs once.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "scene/frame_driver.h"
#include "scene/scene_state.h"
#include "support/frame_recorder.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

class FrameDriver : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing::FreshScene());
        folder_ = std::make_unique<testing::TempDirectory>();
        ResetOpenFailureReport();
        StartupSteps& steps = FrameDriverStartupSteps();
        steps.readSettings = [this](std::FILE* file) {
            ++reads_;
            readAtStart_ = std::ftell(file) == 0;
            scene.starsToggleCount = 1;  // what a settings file may bring
        };
        steps.loadParticleTexture = [this] { ++textureLoads_; };
        steps.createStartupPanels = [this] {
            ++panelCreations_;
            particlesShownDuringPanels_ = scene.particlesShown;
        };
    }
    void TearDown() override {
        FrameDriverStartupSteps() = {};
        folder_.reset();
    }
    std::unique_ptr<testing::TempDirectory> folder_;
    int reads_ = 0, textureLoads_ = 0, panelCreations_ = 0;
    bool readAtStart_ = false;
    int particlesShownDuringPanels_ = -1;
};

TEST_F(FrameDriver, WithoutSettingsEveryFrameRendersAndRetries) {
    testing::FrameRecorder recorder;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RenderFrame(), 0);
    EXPECT_EQ(RenderFrame(), 0);
    EXPECT_EQ(RenderFrame(), 0);
    std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(recorder.Count("DrawText"), 3) << "the scene is drawn whether or not start-up succeeds";
    EXPECT_EQ(scene.startupStage, 0);
    EXPECT_EQ(reads_, 0);
    auto first = errors.find("\nOpen failed! ");
    ASSERT_NE(first, std::string::npos) << errors;
    EXPECT_EQ(errors.find("Open failed!", first + 2), std::string::npos) << "reported once, not every frame";
}

TEST_F(FrameDriver, FilePlacedMidRunIsPickedUpOnTheNextFrameOnce) {
    ::testing::internal::CaptureStderr();
    RenderFrame();
    ::testing::internal::GetCapturedStderr();
    testing::WriteEmptySettingsFile();
    scene.particlesShown = 2;
    EXPECT_EQ(RenderFrame(), 1);
    EXPECT_EQ(scene.startupStage, 2);
    EXPECT_EQ(reads_, 1);
    EXPECT_TRUE(readAtStart_);
    EXPECT_EQ(textureLoads_, 1);
    EXPECT_EQ(panelCreations_, 1);
    EXPECT_EQ(particlesShownDuringPanels_, 0) << "particles stay hidden after start-up";
    EXPECT_EQ(scene.starsToggleCount, 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(RenderFrame(), 1);
    EXPECT_EQ(reads_, 1) << "the start-up work never runs twice";
    EXPECT_EQ(panelCreations_, 1);
}

TEST_F(FrameDriver, FirstFrameIsDrawnBeforeTheFileIsRead) {
    testing::WriteEmptySettingsFile();
    testing::FrameRecorder recorder;
    FrameDriverStartupSteps().readSettings = [&](std::FILE*) {
        EXPECT_EQ(recorder.Count("DrawText"), 1) << "the scene was rendered first";
    };
    RenderFrame();
}

}  // namespace
}  // namespace quorbel
