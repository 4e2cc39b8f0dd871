// The radial and the motion blur: the spread's loop and bounce, the clear
// colour hand-off, what the radial layers add to a frame, the motion
// texture's rate limit, persistence, shift and its rows beyond the view.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "effects/blur.h"
#include "effects/fire.h"
#include "platform/scripted_platform.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

using testing::PixelAt;

class Blur : public ::testing::Test {
protected:
    void SetUp() override {
        engine_ = testing::FreshScene();
        ASSERT_NE(engine_, nullptr);
        CreateFireSystem();
        scene.startupStage = 2;
        scene.textHidden = 2;
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    std::vector<std::uint8_t> Frame(int frames = 1) {
        engine_->RenderFrames(frames);
        return engine_->ReadPixels();
    }
    int Width() const { return engine_->width(); }
    int Height() const { return engine_->height(); }
    HeadlessEngine* engine_ = nullptr;
    ScopedScriptedPlatform platform_;
};

// ----- the spread's run ---------------------------------------------------------------

struct SeparationPass {
    float separation;
    std::int32_t falling;
};

void ExpectPasses(const std::vector<SeparationPass>& passes) {
    for (std::size_t i = 0; i < passes.size(); ++i) {
        AdvanceSeparation();
        EXPECT_FLOAT_EQ(scene.blurSeparation, passes[i].separation) << "pass " << i + 1;
        EXPECT_EQ(scene.blurSeparationFalling, passes[i].falling) << "pass " << i + 1;
    }
}

TEST_F(Blur, SeparationLoopClimbsAndDropsToZeroNearTheFinish) {
    scene.blurSeparationLoop = 2;
    scene.blurSeparationFinish = 4.0f;
    scene.blurSeparationSpeed = 4.0f;  // a quarter: one unit a pass
    ExpectPasses({{1, 0}, {2, 0}, {0, 0}, {1, 0}});
}

TEST_F(Blur, SeparationBounceTurnsInThePassThatReachesTheTop) {
    scene.blurSeparationBounce = 2;
    scene.blurSeparation = 5.0f;
    scene.blurSeparationFinish = 8.0f;
    scene.blurSeparationSpeed = 8.0f;  // two units a pass
    // 5 + 2 = 7 >= 8 - 1: turn and step down in the same pass.
    ExpectPasses({{5, 2}, {3, 2}, {1, 0}, {3, 0}, {5, 0}, {5, 2}});
}

TEST_F(Blur, SeparationAboveTheFinishDoesNotMove) {
    for (auto* run : {&scene.blurSeparationLoop, &scene.blurSeparationBounce}) {
        *run = 2;
        scene.blurSeparation = 20.0f;
        scene.blurSeparationFinish = 10.0f;
        scene.blurSeparationSpeed = 4.0f;
        ExpectPasses({{20, 0}, {20, 0}});
        *run = 0;
    }
}

// ----- radial blur ---------------------------------------------------------------------

TEST_F(Blur, RadialCaptureHandsTheClearColourToTheBlurBackground) {
    scene.savedRed = 0.1f;
    scene.savedGreen = 0.2f;
    scene.savedBlue = 0.3f;
    scene.blurBackRed = 10.0f;
    scene.blurBackGreen = 20.0f;
    scene.blurBackBlue = 30.0f;
    scene.clearRed = 0.7f;
    scene.blurClearHold = 2;
    RadialCapture();
    float clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.1f);
    EXPECT_FLOAT_EQ(clear[1], 0.2f);
    EXPECT_FLOAT_EQ(clear[2], 0.3f);
    EXPECT_EQ(clear[3], 0.0f);
    EXPECT_FLOAT_EQ(scene.savedRed, 0.2f);
    EXPECT_FLOAT_EQ(scene.savedGreen, 0.4f);
    EXPECT_FLOAT_EQ(scene.savedBlue, 0.6f);
    EXPECT_FLOAT_EQ(scene.clearGreen, 0.4f);
    EXPECT_FLOAT_EQ(scene.clearBlue, 0.6f);
    EXPECT_FLOAT_EQ(scene.clearRed, 0.7f) << "red is left alone";
    EXPECT_EQ(scene.blurClearHold, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], Width());
    EXPECT_EQ(viewport[3], Height());
}

class RadialFrames : public Blur {
protected:
    void SetUp() override {
        Blur::SetUp();
        // A bright fire in the middle of the view.
        scene.fireRed = scene.fireGreen = scene.fireBlue = 50.0f;
        scene.blurLayerRed = scene.blurLayerGreen = scene.blurLayerBlue = 1.0f;
        scene.blurFadeAlpha = 100.0f;
    }
    void RadialOn() {
        scene.radialBlurOn = 2;
        scene.blurActive = 2;
        scene.radialFire = 2;
    }
};

TEST_F(RadialFrames, FadeAlphaZeroShowsOnlyTheClearedBackground) {
    RadialOn();  // the fire is drawn only into the blur
    scene.blurFadeAlpha = 0.0f;
    EXPECT_EQ(testing::CountLitPixels(Frame(10), 0), 0);
    scene.blurFadeAlpha = 100.0f;
    EXPECT_GT(testing::CountLitPixels(Frame(1)), 1000) << "the same sources do show at full fade alpha";
}

// Lit columns and rows of a frame: the bounding box of pixels above 16.
struct Box {
    int left = INT_MAX, right = -1, bottom = INT_MAX, top = -1;
};

Box LitBox(const std::vector<std::uint8_t>& rgb, int width, int height) {
    Box box;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto p = PixelAt(rgb, width, x, y);
            if (std::max({p.r, p.g, p.b}) <= 16) continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.bottom = std::min(box.bottom, y);
            box.top = std::max(box.top, y);
        }
    return box;
}

TEST_F(RadialFrames, LayersSmearTheSourceOutwardsFromTheCentre) {
    scene.fireShown = 2;
    Frame(20);
    scene.paused = 2;  // the fire stands still from here on
    const auto sharp = Frame(1);
    RadialOn();
    const auto blurred = Frame(1);
    const Box before = LitBox(sharp, Width(), Height());
    const Box after = LitBox(blurred, Width(), Height());
    ASSERT_GE(before.right, 0) << "the fire is visible";
    EXPECT_LT(after.left, before.left - 10);
    EXPECT_GT(after.right, before.right + 10);
    EXPECT_GT(after.top, before.top + 10);
}

TEST_F(RadialFrames, BlurPassesLeaveNoOpenGLErrorBehind) {
    RadialOn();
    scene.radialParticles = 2;
    scene.particlesShown = 2;
    scene.blurDensity = 100.0f;
    Frame(3);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    scene.radialBlurOn = 0;
    scene.motionBlurOn = 2;
    platform_->nowMs = 5000;
    Frame(3);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// ----- motion blur ---------------------------------------------------------------------

TEST_F(Blur, CaptureIsDueOncePerIntervalOfTheClock) {
    struct Tick {
        std::uint64_t ms;
        bool due;
    };
    // Rate 30: due when more than a thirtieth of a second has passed.
    for (const Tick& tick : {Tick{10000, true}, Tick{10000, false}, Tick{10020, false}, Tick{10033, false},
                             Tick{10034, true}, Tick{10050, false}, Tick{11000, true}}) {
        platform_->nowMs = tick.ms;
        EXPECT_EQ(CaptureDue(30.0f), tick.due) << tick.ms;
    }
    EXPECT_FLOAT_EQ(scene.lastCaptureTime, 11.0f);
}

TEST_F(Blur, CaptureRateZeroOrBelowNeverCaptures) {
    platform_->nowMs = 50000;
    EXPECT_FALSE(CaptureDue(0.0f));
    EXPECT_FALSE(CaptureDue(-10.0f));
    EXPECT_TRUE(CaptureDue(130.0f));
}

TEST_F(Blur, BlankTextureIsZeroFilledInTheGivenSlot) {
    std::uint32_t names[2] = {77, 0};
    CreateBlankTexture(names, 8, 3, GL_RGB, 1);
    EXPECT_EQ(names[0], 77u);
    ASSERT_NE(names[1], 0u);
    glBindTexture(GL_TEXTURE_2D, names[1]);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 8);
    std::vector<std::uint8_t> texels(8 * 8 * 3, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_TRUE(std::all_of(texels.begin(), texels.end(), [](std::uint8_t v) { return v == 0; }));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Blur, BlankTextureRefusesNonsenseQuietly) {
    std::uint32_t names[1] = {0};
    CreateBlankTexture(nullptr, 8, 3, GL_RGB, 0);
    CreateBlankTexture(names, 0, 3, GL_RGB, 0);
    CreateBlankTexture(names, 100000, 3, GL_RGB, 0);
    CreateBlankTexture(names, 8, 9, GL_RGB, 0);
    CreateBlankTexture(names, 8, 3, GL_RGB, -1);
    EXPECT_EQ(names[0], 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

class MotionFrames : public Blur {
protected:
    void SetUp() override {
        Blur::SetUp();
        // A red background feeds the texture: the capture clears with it.
        scene.blurBackRed = 40.0f;
        scene.blurRate = 100;  // at most 30 captures a second
        platform_->nowMs = 10000;
        MotionOn();
    }
    void MotionOn() {
        scene.motionBlurOn = 2;
        scene.blurActive = 2;
    }
    void MotionOff() {
        scene.motionBlurOn = 0;
        scene.blurActive = 0;
    }
    // Frames that each capture: the clock moves 100 ms before each.
    void CapturingFrames(int count) {
        for (int i = 0; i < count; ++i) {
            platform_->nowMs += 100;
            Frame();
        }
    }
    std::vector<std::uint8_t> Texture() {
        std::vector<std::uint8_t> texels(kMotionTextureSize * kMotionTextureSize * 3);
        glBindTexture(GL_TEXTURE_2D, scene.motionBlurTexture);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    }
    static int TexelRed(const std::vector<std::uint8_t>& texels, int x, int y) {
        return texels[(static_cast<std::size_t>(y) * kMotionTextureSize + x) * 3];
    }
};

TEST_F(MotionFrames, TextureIsMadeOnceAndCopiesOnlyTheRowsTheViewHas) {
    CapturingFrames(1);
    const std::uint32_t name = scene.motionBlurTexture;
    ASSERT_NE(name, 0u);
    EXPECT_EQ(scene.motionTextureMade, 2);
    // The view is 480 rows high: rows 480 to 511 have nothing to copy, and
    // what a copy from beyond the surface gives is undefined. Mark them, so
    // that a copy reaching past the view shows.
    const int missingRows = kMotionTextureSize - Height();
    const std::vector<std::uint8_t> marker(static_cast<std::size_t>(kMotionTextureSize) * missingRows * 3, 0x55);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, Height(), kMotionTextureSize, missingRows, GL_RGB, GL_UNSIGNED_BYTE,
                    marker.data());
    CapturingFrames(4);
    EXPECT_EQ(scene.motionBlurTexture, name);
    const auto texels = Texture();
    EXPECT_GT(TexelRed(texels, 256, 0), 0);
    EXPECT_GT(TexelRed(texels, 511, Height() - 1), 0);
    const std::size_t firstMissing = static_cast<std::size_t>(Height()) * kMotionTextureSize * 3;
    EXPECT_TRUE(std::all_of(texels.begin() + static_cast<std::ptrdiff_t>(firstMissing), texels.end(),
                            [](std::uint8_t v) { return v == 0x55; }));
}

TEST_F(MotionFrames, CapturesFollowTheClockNotTheFrames) {
    CapturingFrames(3);
    const auto captured = Texture();
    ASSERT_GT(TexelRed(captured, 100, 100), 0);
    platform_->nowMs += 20;  // within a thirtieth of a second
    Frame(5);
    EXPECT_EQ(Texture(), captured) << "no capture between ticks";
    platform_->nowMs += 20;
    Frame(1);
    EXPECT_NE(Texture(), captured) << "the next tick captures";
}

TEST_F(MotionFrames, TexturePersistsWhileOffAndShowsAgainWhenOn) {
    CapturingFrames(3);
    const auto captured = Texture();
    MotionOff();
    scene.particlesShown = 2;
    Frame(10);
    scene.particlesShown = 0;
    EXPECT_EQ(Texture(), captured);
    MotionOn();  // the clock has not moved: no capture, the kept picture is shown
    const auto frame = Frame(1);
    EXPECT_EQ(Texture(), captured);
    // The frames without the blur left a black clear colour behind.
    const int texel = TexelRed(captured, 256, 256);
    ASSERT_GT(texel, 20);
    EXPECT_NEAR(PixelAt(frame, Width(), Width() / 2, Height() / 2).r, 0.9f * texel, 3);
}

TEST_F(MotionFrames, ShownTextureIsShiftedByTheExtrusion) {
    CapturingFrames(3);
    scene.extrudeRight = 30.0f;
    scene.extrudeLeft = 10.0f;  // 20 pixels to the right
    const auto frame = Frame(1);
    const int background = static_cast<int>(40.0f * 0.0025f * 255.0f + 0.5f);
    const int y = Height() / 2;
    EXPECT_NEAR(PixelAt(frame, Width(), 10, y).r, background, 2) << "uncovered strip";
    EXPECT_GT(PixelAt(frame, Width(), 30, y).r, background + 10) << "texture from x = 20";
}

}  // namespace
}  // namespace quorbel
