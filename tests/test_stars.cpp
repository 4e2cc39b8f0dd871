// The star field: start state, the inward spiral and rebirth, the field's
// pan, zoom and tilt, the texture choice and the squares on screen.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "effects/stars.h"
#include "imaging/textures.h"
#include "platform/scripted_platform.h"
#include "scene/scene_composition.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"
#include "effect_gl_helpers.h"

namespace quorbel {
namespace {

using testing::BoundTexture;
using testing::DrainGlErrors;
using testing::MakeSolidTexture;
using testing::RaiseGlError;

constexpr float kTolerance = 1e-4f;

class StarField : public ::testing::Test {
protected:
    void SetUp() override {
        engine_ = testing::FreshScene();
        ASSERT_TRUE(engine_);
        ASSERT_TRUE(glIsTexture(scene.baseTextures[2])) << "the default pictures in Data/ and gfx/ are missing";
        scene.startupStage = 2;
        scene.textHidden = 2;
        scene.starsHidden = 0;
        scene.starWarmupFrames = 1001;  // the warm-up is over unless a test says otherwise
        DrainGlErrors();
    }
    static void Frames(int count) {
        for (int i = 0; i < count; ++i) RenderScene();
    }
    HeadlessEngine* engine_ = nullptr;
};

// ----- start state -------------------------------------------------------------

TEST_F(StarField, InitStarsSpacesTheStarsATenthApartWithRandomColours) {
    for (auto& star : stars) star.angle = 33.0f;
    std::srand(7);
    InitStars();
    std::srand(7);
    for (int i = 0; i < kStarCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(stars[i].angle, 0.0f);
        EXPECT_NEAR(stars[i].dist, i * 0.1f, 1e-5);
        // Red, green and blue are three successive draws, star by star.
        EXPECT_EQ(stars[i].red, std::rand() % 256);
        EXPECT_EQ(stars[i].green, std::rand() % 256);
        EXPECT_EQ(stars[i].blue, std::rand() % 256);
    }
}

TEST_F(StarField, ResetStarsBringsTheFieldCloserAndStopsTheSpin) {
    scene.starFieldTilt = 70.0f;
    scene.starRoll = -12.0f;
    stars[4].dist = 0.01f;
    ResetStars();
    EXPECT_EQ(scene.starFieldZ, -15.0f);
    EXPECT_EQ(scene.starFieldTilt, 0.0f);
    EXPECT_EQ(scene.starRoll, 0.0f);
    EXPECT_EQ(scene.starSpin, 0);
    EXPECT_NEAR(stars[4].dist, 0.4f, 1e-5);
}

// ----- star step ---------------------------------------------------------------

TEST_F(StarField, StarPassingTheCentreIsRebornAtTheRimLessTheOvershoot) {
    scene.starSpeed = 10.0f;  // 0.05 inwards per step
    stars[0].dist = 0.01f;
    const Star untouched = stars[7];
    std::srand(11);
    StarWarmupStep();
    EXPECT_NEAR(stars[0].dist, 4.96f, 1e-5);
    EXPECT_LT(stars[0].dist, 5.0f);
    std::srand(11);
    EXPECT_EQ(stars[0].red, std::rand() % 256) << "star 0 was the only one reborn, so it drew first";
    EXPECT_EQ(stars[0].green, std::rand() % 256);
    EXPECT_EQ(stars[0].blue, std::rand() % 256);
    EXPECT_NEAR(stars[7].dist, untouched.dist - 0.05f, 1e-5);
    EXPECT_EQ(stars[7].red, untouched.red) << "a star that is not reborn keeps its colour";
}

TEST_F(StarField, SpeedZeroKeepsTheDistances) {
    scene.starSpeed = 0.0f;
    StarWarmupStep();
    Frames(3);
    for (int i = 0; i < kStarCount; ++i) EXPECT_NEAR(stars[i].dist, i * 0.1f, 1e-5) << i;
}

TEST_F(StarField, AnyOvershootStaysOnTheDisc) {
    scene.starSpeed = 2600.0f;  // 13 units per step: far beyond the slider, possible from a settings file
    for (int step = 0; step < 5; ++step) {
        StarWarmupStep();
        for (const auto& star : stars) {
            ASSERT_GE(star.dist, 0.0f);
            ASSERT_LE(star.dist, 5.0f);
        }
    }
}

TEST_F(StarField, WarmupTurnsEveryStarByItsIndexWhateverTheSpin) {
    for (int spin : {0, 2, 4}) {
        for (auto& star : stars) star.angle = 0.0f;
        scene.starSpin = spin;
        StarWarmupStep();
        EXPECT_EQ(stars[0].angle, 0.0f) << "spin " << spin;
        EXPECT_NEAR(stars[10].angle, 0.2f, 1e-6) << "spin " << spin;
        EXPECT_NEAR(stars[49].angle, 0.98f, 1e-6) << "spin " << spin;
    }
}

TEST_F(StarField, WarmupRunsOnlyInTheFirstThousandPlayingFramesEvenWhileHidden) {
    scene.starsHidden = 2;
    scene.starSpin = 0;
    scene.starWarmupFrames = 997;
    scene.paused = 2;
    Frames(2);
    EXPECT_EQ(stars[49].angle, 0.0f) << "paused frames do not count";
    scene.paused = 0;
    Frames(6);  // frames 998, 999 and 1000 warm up; 1001 ends it
    EXPECT_NEAR(stars[49].angle, 3 * 0.98f, 1e-5);
    EXPECT_EQ(scene.starWarmupFrames, 1001);
}

// ----- drawing loop motion -----------------------------------------------------

struct SpinCase {
    int spin;
    float star49PerFrame;
};

TEST_F(StarField, SpinTurnsEachStarByItsIndexAndStarZeroNever) {
    const SpinCase cases[] = {{2, 0.98f}, {4, -0.98f}, {0, 0.0f}, {3, 0.0f}};
    for (const auto& c : cases) {
        for (auto& star : stars) star.angle = 0.0f;
        scene.starSpin = c.spin;
        Frames(3);
        EXPECT_EQ(stars[0].angle, 0.0f) << "spin " << c.spin;
        EXPECT_NEAR(stars[25].angle, 3 * c.star49PerFrame * 25 / 49, 1e-4) << "spin " << c.spin;
        EXPECT_NEAR(stars[49].angle, 3 * c.star49PerFrame, 1e-4) << "spin " << c.spin;
    }
}

TEST_F(StarField, SquaresRollHalfADegreePerFrameEvenWithoutSpin) {
    scene.starSpin = 0;
    scene.starRoll = 0.0f;
    Frames(4);
    EXPECT_NEAR(scene.starRoll, -2.0f, kTolerance);
}

struct PanCase {
    int panX, panY;
    float dxPerFrame, dyPerFrame;
};

TEST_F(StarField, PanSpeedsMoveTheFieldOncePerStar) {
    // Speeds: left 100, right 80, up 40, down 20; each is 0.0000625 per star, 50 stars a frame.
    const PanCase cases[] = {
        {2, 0, 0.3125f, 0.0f}, {4, 0, -0.25f, 0.0f}, {5, 0, -0.25f, 0.0f}, {3, 0, 0.0f, 0.0f},
        {0, 2, 0.0f, 0.125f},  {0, 4, 0.0f, -0.0625f}, {2, 4, 0.3125f, -0.0625f},
    };
    for (const auto& c : cases) {
        scene.starFieldX = scene.starFieldY = 0.0f;
        scene.starPanX = c.panX;
        scene.starPanY = c.panY;
        scene.starPanLeftSpeed = 100.0f;
        scene.starPanRightSpeed = 80.0f;
        scene.starPanUpSpeed = 40.0f;
        scene.starPanDownSpeed = 20.0f;
        Frames(2);
        EXPECT_NEAR(scene.starFieldX, 2 * c.dxPerFrame, kTolerance) << c.panX << "," << c.panY;
        EXPECT_NEAR(scene.starFieldY, 2 * c.dyPerFrame, kTolerance) << c.panX << "," << c.panY;
    }
}

struct TiltCase {
    int dir;
    float perFrame;
};

TEST_F(StarField, TiltMovesOnlyForTheTwoDirections) {
    const TiltCase cases[] = {{2, 100 * 0.0018181818f * 50}, {4, -100 * 0.0018181818f * 50}, {5, 0.0f}, {0, 0.0f}};
    for (const auto& c : cases) {
        scene.starFieldTilt = 10.0f;
        scene.starTiltDir = c.dir;
        scene.starTiltSpeed = 100.0f;
        RenderScene();
        EXPECT_NEAR(scene.starFieldTilt, 10.0f + c.perFrame, 1e-3) << "direction " << c.dir;
    }
}

TEST_F(StarField, ZoomLoopRunsFromTheFarBoundAndJumpsBackNearTheNearOne) {
    scene.starZoomLoop = 2;
    scene.starZoomSpeed = 100.0f;  // 0.05 per star, 2.5 per frame
    ASSERT_EQ(scene.starFieldZ, -30.0f);
    RenderScene();
    EXPECT_NEAR(scene.starFieldZ, -27.5f, kTolerance);
    int jumps = 0;
    float previous = scene.starFieldZ;
    for (int frame = 0; frame < 30; ++frame) {
        RenderScene();
        EXPECT_GE(scene.starFieldZ, -30.0f);
        EXPECT_LT(scene.starFieldZ, -1.0f);
        if (scene.starFieldZ < previous) ++jumps;
        previous = scene.starFieldZ;
    }
    EXPECT_GE(jumps, 2);
}

TEST_F(StarField, ZoomLoopFollowsTheSliderBounds) {
    scene.starZoomLoop = 2;
    scene.starZoomSpeed = 100.0f;
    scene.starZoomStart = 10;   // far bound -20
    scene.starZoomFinish = -5;  // near bound -6
    scene.starFieldZ = -20.0f;
    int jumps = 0;
    float previous = scene.starFieldZ;
    for (int frame = 0; frame < 20; ++frame) {
        RenderScene();
        EXPECT_GE(scene.starFieldZ, -20.0f);
        EXPECT_LT(scene.starFieldZ, -6.0f);
        if (scene.starFieldZ < previous) ++jumps;
        previous = scene.starFieldZ;
    }
    EXPECT_GE(jumps, 2);
}

TEST_F(StarField, ZoomBounceTurnsAtBothBounds) {
    scene.starZoomBounce = 2;
    scene.starZoomBounceDir = 2;
    scene.starZoomSpeed = 100.0f;
    bool turnedOut = false, turnedIn = false;
    int previousDir = scene.starZoomBounceDir;
    for (int frame = 0; frame < 40; ++frame) {
        RenderScene();
        EXPECT_GE(scene.starFieldZ, -30.0f - 0.051f);
        EXPECT_LE(scene.starFieldZ, -1.0f + 0.051f);
        if (previousDir == 2 && scene.starZoomBounceDir == 4) turnedOut = true;
        if (previousDir == 4 && scene.starZoomBounceDir == 2) turnedIn = true;
        previousDir = scene.starZoomBounceDir;
    }
    EXPECT_TRUE(turnedOut);
    EXPECT_TRUE(turnedIn);
}

TEST_F(StarField, PauseHoldsEveryMotion) {
    scene.paused = 2;
    scene.starSpeed = 50.0f;
    scene.starPanX = 2;
    scene.starPanLeftSpeed = 100.0f;
    scene.starTiltSpeed = 100.0f;
    scene.starZoomLoop = 2;
    scene.starZoomSpeed = 100.0f;
    const auto before = stars;
    Frames(3);
    EXPECT_EQ(scene.starRoll, 0.0f);
    EXPECT_EQ(scene.starFieldX, 0.0f);
    EXPECT_EQ(scene.starFieldZ, -30.0f);
    EXPECT_EQ(scene.starFieldTilt, 180.0f);
    for (int i = 0; i < kStarCount; ++i) {
        EXPECT_EQ(stars[i].dist, before[i].dist);
        EXPECT_EQ(stars[i].angle, before[i].angle);
    }
}

TEST_F(StarField, TunnelDoublesEveryStarMotion) {
    scene.tunnelShown = 2;
    scene.tunnelRebuildPending = 2;
    scene.starPanX = 2;
    scene.starPanLeftSpeed = 100.0f;
    Frames(2);
    EXPECT_NEAR(scene.starRoll, -2.0f, kTolerance);
    EXPECT_NEAR(stars[49].angle, 4 * 0.98f, 1e-4);
    EXPECT_NEAR(scene.starFieldX, 4 * 0.3125f, kTolerance);
}

// ----- texture ---------------------------------------------------------------------

struct TextureCase {
    int customTex, fallback;
    enum { Slot, Plasma, Default } expected;
};

TEST_F(StarField, TextureRuleChoosesSlotPlasmaOrDefault) {
    const GLuint slot = MakeSolidTexture(255, 255, 255);
    scene.starTexture = slot;
    const TextureCase cases[] = {
        {2, 0, TextureCase::Slot},   {2, 1, TextureCase::Slot},   {2, 2, TextureCase::Default},
        {0, 0, TextureCase::Plasma}, {1, 2, TextureCase::Plasma},
    };
    for (const auto& c : cases) {
        scene.starCustomTex = c.customTex;
        scene.starTexFallback = c.fallback;
        BindStarTexture();
        GLuint expected = c.expected == TextureCase::Slot     ? slot
                          : c.expected == TextureCase::Plasma ? scene.baseTextures[2]
                                                              : 0u;
        EXPECT_EQ(BoundTexture(), expected) << "custom " << c.customTex << " fallback " << c.fallback;
    }
}

TEST_F(StarField, RejectedSlotTextureIsReportedOnceAndFallsBack) {
    ScopedScriptedPlatform platform;
    scene.starTexture = MakeSolidTexture(255, 255, 255);
    scene.starCustomTex = 2;
    RaiseGlError();
    BindStarTexture();
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text, kUnableToLoadTextureMessage);
    EXPECT_EQ(scene.starTexFallback, 2);
    EXPECT_EQ(BoundTexture(), 0u) << "OpenGL's default texture holds the bubble picture";

    RaiseGlError();
    BindStarTexture();
    EXPECT_EQ(platform->messages.size(), 1u) << "the fallen-back slot is not asked again";
    DrainGlErrors();
}

TEST_F(StarField, ErrorIsNotReadWhileTheSlotIsUnused) {
    ScopedScriptedPlatform platform;
    scene.starCustomTex = 0;
    RaiseGlError();
    BindStarTexture();
    EXPECT_TRUE(platform->messages.empty());
    EXPECT_NE(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "the error is left for its owner";
    EXPECT_EQ(scene.starTexFallback, 0);
}

// ----- pixels ---------------------------------------------------------------------

struct PlacedStar {
    float dist, angle;
    int red, green, blue;
    double x, y;  // where the square's centre lands, in pixels from the bottom left
};

TEST_F(StarField, StarsAreColouredSquaresAtTheirPlaceOnTheDisc) {
    // Tilted 90 degrees the disc faces the camera at depth 30, where one unit
    // is 240 / (30 tan 22.5) = 19.31 pixels: a star sits at (dist cos angle,
    // dist sin angle) from the centre (360, 240) and its square is 38.6 wide.
    const PlacedStar placed[] = {
        {3.0f, 0.0f, 255, 0, 0, 417.9, 240.0},
        {3.0f, 90.0f, 0, 255, 0, 360.0, 297.9},
        {4.0f, 180.0f, 0, 0, 255, 282.7, 240.0},
        {2.5f, 270.0f, 200, 100, 50, 360.0, 191.7},
    };
    scene.paused = 2;
    scene.starFieldTilt = 90.0f;
    scene.starTexture = MakeSolidTexture(255, 255, 255);
    scene.starCustomTex = 2;
    for (auto& star : stars) star = Star{};  // black squares add nothing
    for (int i = 0; i < 4; ++i) {
        Star& star = stars[10 * i + 5];
        star.dist = placed[i].dist;
        star.angle = placed[i].angle;
        star.red = placed[i].red;
        star.green = placed[i].green;
        star.blue = placed[i].blue;
    }
    Frames(2);
    auto rgb = engine_->ReadPixels();
    const int width = engine_->width();
    for (const auto& p : placed) {
        SCOPED_TRACE(p.angle);
        const int x = static_cast<int>(std::lround(p.x)), y = static_cast<int>(std::lround(p.y));
        auto centre = testing::PixelAt(rgb, width, x, y);
        EXPECT_NEAR(centre.r, p.red, 2);
        EXPECT_NEAR(centre.g, p.green, 2);
        EXPECT_NEAR(centre.b, p.blue, 2);
        // 16 pixels from the centre is inside the square, 23 outside it.
        auto inside = testing::PixelAt(rgb, width, x, y + 16);
        EXPECT_NEAR(inside.r, p.red, 2);
        auto outside = testing::PixelAt(rgb, width, x + (p.x > 360.5 ? 23 : -23), y);
        EXPECT_EQ(outside.r + outside.g + outside.b, 0);
    }
    EXPECT_EQ(testing::PixelAt(rgb, width, 360, 240).r, 0) << "nothing at the centre";
}

TEST_F(StarField, DefaultFieldShowsOnlyWhileNotHidden) {
    Frames(2);
    const int shown = testing::CountLitPixels(engine_->ReadPixels());
    EXPECT_GT(shown, 1000);
    scene.starsHidden = 2;
    Frames(2);
    EXPECT_EQ(testing::CountLitPixels(engine_->ReadPixels(), 0), 0);
}

}  // namespace
}  // namespace quorbel
