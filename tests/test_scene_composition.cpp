// The frame's shape: which routines run, in what order, under which guards,
// and what the clear colour becomes.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "scene/scene_composition.h"
#include "scene/scene_state.h"
#include "support/frame_recorder.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

using testing::FrameRecorder;
using Names = std::vector<std::string>;

class SceneComposition : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing::FreshScene());
        scene.startupStage = 2;  // only the composition here, not the start-up work
    }
    void ShowEverything() {
        scene.fireShown = scene.tilesShown = scene.particlesShown = 2;
        scene.starsHidden = scene.textHidden = 0;
    }
    static std::array<float, 4> ClearColour() {
        std::array<float, 4> colour{};
        glGetFloatv(GL_COLOR_CLEAR_VALUE, colour.data());
        return colour;
    }
};

TEST_F(SceneComposition, TunnelDrawsTheLayersAgainAndTheFireOnce) {
    ShowEverything();
    scene.tunnelShown = 2;
    scene.tunnelRebuildPending = 2;
    FrameRecorder recorder;
    RenderScene();
    EXPECT_EQ(recorder.Names(),
              (Names{"DrawTileLayer1", "DrawTileLayer2", "StarWarmupStep", "DrawStars", "DrawParticleSystem",
                     "UpdateParticleParameters", "DrawText", "BuildTunnelGeometry", "ApplyTunnelColour",
                     "DrawTunnel", "DrawFire", "DrawTileLayer1", "DrawTileLayer2", "DrawStars",
                     "DrawParticleSystem", "UpdateParticleParameters", "DrawTextAfterTunnel", "AnimateText"}));
    EXPECT_EQ(scene.tunnelRebuildPending, 0);
}

TEST_F(SceneComposition, PauseHoldsAnimationButStillDraws) {
    ShowEverything();
    scene.paused = 2;
    scene.radialBlurOn = 2;
    FrameRecorder recorder;
    RenderScene();
    EXPECT_EQ(recorder.Count("AnimateText"), 0);
    EXPECT_EQ(recorder.Count("StarWarmupStep"), 0);
    EXPECT_EQ(scene.starWarmupFrames, 0);
    for (const char* drawn : {"DrawFire", "DrawTileLayer1", "DrawStars", "DrawParticleSystem", "DrawText",
                              "UpdateParticleParameters", "RadialBlurPass", "AdvanceSeparation"})
        EXPECT_EQ(recorder.Count(drawn), 1) << drawn;
    for (const auto& call : recorder.calls) EXPECT_TRUE(call.paused) << call.routine;
}

TEST_F(SceneComposition, BlurPassesAndTheirGuards) {
    scene.motionBlurOn = 2;
    FrameRecorder recorder;
    RenderScene();
    RenderScene();
    EXPECT_EQ(recorder.Count("CreateBlankTexture"), 1) << "the motion texture is made once";
    EXPECT_EQ(recorder.Count("MotionBlurPass"), 2);
    EXPECT_EQ(scene.motionTextureMade, 2);

    recorder.Clear();
    scene.radialBlurOn = 2;  // the radial blur wins
    scene.tunnelShown = 2;
    RenderScene();
    EXPECT_EQ(recorder.Count("MotionBlurPass"), 0);
    EXPECT_EQ(recorder.Count("RadialBlurPass"), 2) << "once per sequence";
    EXPECT_EQ(recorder.Count("AdvanceSeparation"), 1) << "the spread animates once per frame";

    recorder.Clear();
    scene.radialBlurOn = 0;
    scene.motionBlurSelected = 2;
    RenderScene();
    EXPECT_EQ(recorder.Count("MotionBlurPass"), 1) << "the tunnel's pass is left out while selected";
}

TEST_F(SceneComposition, FirstFrameClearsBlackThenTheBackgroundColour) {
    HeadlessEngine* engine = testing::Engine();
    scene.textHidden = 2;
    scene.clearRed = 1.0f;
    scene.clearGreen = 0.5f;
    RenderScene();
    auto first = engine->ReadPixels();
    EXPECT_EQ(testing::CountLitPixels(first, 0), 0) << "the first frame clears with the set-up's black";
    RenderScene();
    auto second = engine->ReadPixels();
    auto centre = testing::PixelAt(second, engine->width(), 360, 240);
    EXPECT_EQ(centre.r, 255);
    EXPECT_NEAR(centre.g, 128, 1);
    EXPECT_EQ(centre.b, 0);
}

TEST_F(SceneComposition, BlurSuppressesRedAndRestoresIt) {
    scene.clearRed = scene.savedRed = 1.0f;
    scene.clearGreen = scene.savedGreen = 0.25f;
    scene.clearBlue = scene.savedBlue = 0.5f;
    scene.blurActive = 2;
    RenderScene();
    EXPECT_EQ(scene.redSuppressed, 2);
    EXPECT_EQ(scene.clearRed, 0.0f);
    EXPECT_EQ(ClearColour(), (std::array<float, 4>{0.0f, 0.25f, 0.5f, 0.0f}));

    scene.blurActive = 0;
    RenderScene();
    EXPECT_EQ(scene.redSuppressed, 0);
    EXPECT_EQ(scene.clearRed, 1.0f);
    EXPECT_EQ(ClearColour(), (std::array<float, 4>{1.0f, 0.25f, 0.5f, 0.0f}));

    scene.blurActive = scene.blurClearHold = 2;  // the motion blur's pass holds the colour
    RenderScene();
    EXPECT_EQ(ClearColour(), (std::array<float, 4>{1.0f, 0.25f, 0.5f, 0.0f}));
    EXPECT_EQ(scene.redSuppressed, 0);
}

TEST_F(SceneComposition, EndsWithTheStateTheNextFrameExpects) {
    ShowEverything();
    scene.tunnelShown = 2;
    RenderScene();
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    float colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_GE(colour[0], 1.0f) << "white (255 is clamped when drawn)";
}

}  // namespace
}  // namespace quorbel
