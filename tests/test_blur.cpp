// The radial and the motion blur: what the radial layers add to a frame, the
// motion texture's clock-driven capture, its persistence and its rows beyond
// the view.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "effects/blur.h"
#include "effects/fire.h"
#include "support/scripted_platform.h"
#include "scene/scene_state.h"
#include "effect_gl_helpers.h"

namespace quorbel {
namespace {

using testing::PixelAt;
using Texels = std::vector<std::uint8_t>;

class Blur : public testing::EffectTest {
protected:
    void SetUp() override {
        EffectTest::SetUp();
        CreateFireSystem();
        platform_->nowMs = 10000;
    }
    Texels Frame(int frames = 1) { return Capture(frames); }
    // A bright fire in the middle of the view; with the radial blur on, it
    // is drawn only into the blur.
    void RadialFire(bool on) {
        scene.fireRed = scene.fireGreen = scene.fireBlue = 50.0f;
        scene.blurLayerRed = scene.blurLayerGreen = scene.blurLayerBlue = 1.0f;
        scene.blurFadeAlpha = 100.0f;
        scene.radialBlurOn = scene.blurActive = scene.radialFire = on ? 2 : 0;
    }
    // Motion blur on a red background: every capture clears with it.
    void MotionOn(bool on = true) {
        scene.blurBackRed = 40.0f;
        scene.blurRate = 100;  // at most 30 captures a second
        scene.motionBlurOn = scene.blurActive = on ? 2 : 0;
    }
    // Frames that each capture: the clock moves 100 ms before each.
    void CapturingFrames(int count) {
        for (int i = 0; i < count; ++i) {
            platform_->nowMs += 100;
            Frame();
        }
    }
    static Texels Texture() {
        Texels texels(kMotionTextureSize * kMotionTextureSize * 3);
        glBindTexture(GL_TEXTURE_2D, scene.motionBlurTexture);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    }
    static int TexelRed(const Texels& texels, int x, int y) { return texels[(y * kMotionTextureSize + x) * 3]; }
    ScopedScriptedPlatform platform_;
};

TEST_F(Blur, RadialWithFadeAlphaZeroShowsOnlyTheClearedBackground) {
    RadialFire(true);
    scene.blurFadeAlpha = 0.0f;
    EXPECT_EQ(testing::CountLitPixels(Frame(10), 0), 0);
    scene.blurFadeAlpha = 100.0f;
    EXPECT_GT(testing::CountLitPixels(Frame(1)), 1000) << "the same sources do show at full fade alpha";
}

TEST_F(Blur, RadialLayersSmearTheSourceOutwardsFromTheCentre) {
    const auto litBox = [this](const Texels& rgb) {  // left, right, top of the pixels above 16
        std::vector<int> box = {INT_MAX, -1, -1};
        for (int y = 0; y < engine_->height(); ++y)
            for (int x = 0; x < engine_->width(); ++x) {
                const auto p = PixelAt(rgb, engine_->width(), x, y);
                if (std::max({p.r, p.g, p.b}) <= 16) continue;
                box = {std::min(box[0], x), std::max(box[1], x), std::max(box[2], y)};
            }
        return box;
    };
    RadialFire(false);
    scene.fireShown = 2;
    Frame(20);
    scene.paused = 2;  // the fire stands still from here on
    const auto sharp = litBox(Frame(1));
    RadialFire(true);
    const auto blurred = litBox(Frame(1));
    ASSERT_GE(sharp[1], 0) << "the fire is visible";
    EXPECT_LT(blurred[0], sharp[0] - 10);
    EXPECT_GT(blurred[1], sharp[1] + 10);
    EXPECT_GT(blurred[2], sharp[2] + 10);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Blur, CaptureIsDueOncePerIntervalOfTheClock) {
    struct Tick { std::uint64_t ms; float rate; bool due; };
    // Due when more than 1 / rate seconds have passed; a rate of 0 or below never captures.
    const Tick ticks[] = {{10000, 30, true},  {10000, 30, false}, {10033, 30, false}, {10034, 30, true},
                          {10050, 30, false}, {11000, 30, true},  {50000, 0, false},  {50000, -10, false},
                          {50000, 130, true}};
    for (const Tick& tick : ticks) {
        platform_->nowMs = tick.ms;
        EXPECT_EQ(CaptureDue(tick.rate), tick.due) << tick.ms << " at rate " << tick.rate;
    }
}

// The view is 480 rows high: the texture's rows 480 to 511 have nothing to
// copy, and a copy from beyond the surface is undefined. They start cleared;
// marked, they show whether a later copy reaches past the view.
TEST_F(Blur, MotionCopyKeepsTheRowsBeyondTheViewCleared) {
    MotionOn();
    CapturingFrames(1);
    const std::uint32_t name = scene.motionBlurTexture;
    const std::size_t viewTexels = static_cast<std::size_t>(engine_->height()) * kMotionTextureSize * 3;
    const auto beyond = [&] {
        const Texels all = Texture();
        return Texels(all.begin() + static_cast<std::ptrdiff_t>(viewTexels), all.end());
    };
    EXPECT_EQ(beyond(), Texels(kMotionTextureSize * kMotionTextureSize * 3 - viewTexels, 0));
    const Texels marker(kMotionTextureSize * kMotionTextureSize * 3 - viewTexels, 0x55);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, engine_->height(), kMotionTextureSize, kMotionTextureSize - engine_->height(),
                    GL_RGB, GL_UNSIGNED_BYTE, marker.data());
    CapturingFrames(4);
    EXPECT_EQ(scene.motionBlurTexture, name) << "made once";
    EXPECT_EQ(beyond(), marker);
    EXPECT_GT(TexelRed(Texture(), 511, engine_->height() - 1), 0) << "the view's top row is copied";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Blur, MotionTexturePersistsWhileOffAndShowsAgainWhenOn) {
    MotionOn();
    CapturingFrames(3);
    const auto captured = Texture();
    MotionOn(false);
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
    EXPECT_NEAR(PixelAt(frame, engine_->width(), engine_->width() / 2, engine_->height() / 2).r, 0.9f * texel, 3);
}

}  // namespace
}  // namespace quorbel

namespace quorbel {
namespace {

// The spread's run, by hand: speed 20 moves it 5 per frame towards a finish of 10.
TEST(BlurSeparation, LoopsAndBouncesWithinItsFinishOnly) {
    struct Row {
        const char* name;
        int loop, bounce;
        float start;
        std::vector<float> expected;  // after each frame
    };
    for (const Row& row : {Row{"loop drops to 0 near the finish", 2, 0, 0.0f, {5, 0, 5, 0}},
                           Row{"bounce turns and steps back in one frame", 0, 2, 0.0f, {5, 5, 0, 5}},
                           Row{"loop above the finish stays", 2, 0, 20.0f, {20, 20}},
                           Row{"bounce above the finish stays", 0, 2, 20.0f, {20, 20}}}) {
        SCOPED_TRACE(row.name);
        scene = SceneState{};
        scene.blurSeparationLoop = row.loop;
        scene.blurSeparationBounce = row.bounce;
        scene.blurSeparation = row.start;
        scene.blurSeparationFinish = 10.0f;
        scene.blurSeparationSpeed = 20.0f;
        for (float expected : row.expected) {
            AdvanceSeparation();
            EXPECT_FLOAT_EQ(scene.blurSeparation, expected);
        }
    }
}

}  // namespace
}  // namespace quorbel
