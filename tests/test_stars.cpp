// The star field: the inward spiral and rebirth, the warm-up, the field's
// pan and zoom, the texture error and the squares on screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

#include "effect_gl_helpers.h"
#include "effects/stars.h"
#include "imaging/textures.h"
#include "platform/scripted_platform.h"

namespace quorbel {
namespace {

constexpr float kTolerance = 1e-4f;

class StarField : public testing::EffectTest {
protected:
    void SetUp() override {
        EffectTest::SetUp();
        scene.starsHidden = 0;
        scene.starWarmupFrames = 1001;  // the warm-up is over unless a test says otherwise
    }
};

TEST_F(StarField, StarPassingTheCentreIsRebornAtTheRimLessTheOvershoot) {
    scene.starSpeed = 10.0f;  // 0.05 inwards per step
    stars[0].dist = 0.01f;
    const Star untouched = stars[7];
    std::srand(11);
    StarWarmupStep();
    EXPECT_NEAR(stars[0].dist, 4.96f, 1e-5);
    std::srand(11);
    EXPECT_EQ(stars[0].red, std::rand() % 256) << "star 0 was the only one reborn, so it drew first";
    EXPECT_EQ(stars[0].green, std::rand() % 256);
    EXPECT_EQ(stars[0].blue, std::rand() % 256);
    EXPECT_NEAR(stars[7].dist, untouched.dist - 0.05f, 1e-5);
    EXPECT_EQ(stars[7].red, untouched.red) << "a star that is not reborn keeps its colour";

    scene.starSpeed = 2600.0f;  // 13 units a step: beyond the slider, possible from a settings file
    for (int step = 0; step < 5; ++step) StarWarmupStep();
    for (const auto& star : stars) EXPECT_TRUE(star.dist >= 0.0f && star.dist < 5.0f) << star.dist;
}

TEST_F(StarField, WarmupRunsOnlyInTheFirstThousandPlayingFramesEvenWhileHidden) {
    scene.starsHidden = 2;
    scene.starSpin = 0;  // the warm-up turns every star by its index whatever the spin
    scene.starWarmupFrames = 997;
    scene.paused = 2;
    Frames(2);
    EXPECT_EQ(stars[49].angle, 0.0f) << "paused frames do not count";
    scene.paused = 0;
    Frames(6);  // frames 998, 999 and 1000 warm up; 1001 ends it
    EXPECT_NEAR(stars[49].angle, 3 * 0.98f, 1e-5);
    EXPECT_EQ(scene.starWarmupFrames, 1001);
}

TEST_F(StarField, SpinTurnsEachStarByItsIndexAndStarZeroNever) {
    for (auto [spin, star49PerFrame] : {std::pair{2, 0.98f}, {4, -0.98f}, {0, 0.0f}, {3, 0.0f}}) {
        for (auto& star : stars) star.angle = 0.0f;
        scene.starSpin = spin;
        Frames(3);
        EXPECT_EQ(stars[0].angle, 0.0f) << "spin " << spin;
        EXPECT_NEAR(stars[49].angle, 3 * star49PerFrame, 1e-4) << "spin " << spin;
    }
}

TEST_F(StarField, PanSpeedsMoveTheFieldOncePerStar) {
    // Speeds: left 100, right 80, up 40, down 20; each is 0.0000625 per star, 50 stars a frame.
    struct Case { int panX, panY; float dxPerFrame, dyPerFrame; };
    const Case cases[] = {{2, 0, 0.3125f, 0}, {4, 0, -0.25f, 0}, {0, 2, 0, 0.125f}, {0, 4, 0, -0.0625f}};
    scene.starPanLeftSpeed = 100.0f;
    scene.starPanRightSpeed = 80.0f;
    scene.starPanUpSpeed = 40.0f;
    scene.starPanDownSpeed = 20.0f;
    for (const auto& c : cases) {
        scene.starFieldX = scene.starFieldY = 0.0f;
        scene.starPanX = c.panX;
        scene.starPanY = c.panY;
        Frames(2);
        EXPECT_NEAR(scene.starFieldX, 2 * c.dxPerFrame, kTolerance) << c.panX << "," << c.panY;
        EXPECT_NEAR(scene.starFieldY, 2 * c.dyPerFrame, kTolerance) << c.panX << "," << c.panY;
    }
}

TEST_F(StarField, ZoomLoopAndBounceStayBetweenTheBoundsAndTurnBack) {
    // Speed 100 moves the depth 2.5 a frame; the bounds are start - 30 and finish - 1.
    struct Case { const char* what; int loop, bounce, start, finish; };
    const Case cases[] = {{"loop", 2, 0, 0, 0}, {"loop between moved bounds", 2, 0, 10, -5}, {"bounce", 0, 2, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        scene.starZoomLoop = c.loop;
        scene.starZoomBounce = c.bounce;
        scene.starZoomBounceDir = 2;
        scene.starZoomSpeed = 100.0f;
        scene.starZoomStart = c.start;
        scene.starZoomFinish = c.finish;
        const float far = c.start - 30.0f, near = c.finish - 1.0f;
        scene.starFieldZ = far;
        int turns = 0;
        float previous = far, previousStep = 1.0f;
        for (int frame = 0; frame < 50; ++frame) {
            RenderScene();
            EXPECT_GE(scene.starFieldZ, far - 0.051f);
            EXPECT_LE(scene.starFieldZ, near + 0.051f);
            const float step = scene.starFieldZ - previous;
            if (step * previousStep < 0) ++turns;
            previous = scene.starFieldZ;
            previousStep = step;
        }
        EXPECT_GE(turns, 3) << "back and forth more than once";
    }
}

TEST_F(StarField, TunnelDoublesEveryStarMotion) {
    scene.tunnelShown = 2;
    scene.tunnelRebuildPending = 2;
    scene.starPanX = 2;
    scene.starPanLeftSpeed = 100.0f;
    Frames(2);
    EXPECT_NEAR(scene.starRoll, -2.0f, kTolerance) << "half a degree a frame, doubled";
    EXPECT_NEAR(stars[49].angle, 4 * 0.98f, 1e-4);
    EXPECT_NEAR(scene.starFieldX, 4 * 0.3125f, kTolerance);
}

TEST_F(StarField, RejectedSlotTextureIsReportedOnceAndFallsBack) {
    ScopedScriptedPlatform platform;
    testing::RaiseGlError();
    BindStarTexture();
    EXPECT_TRUE(platform->messages.empty()) << "no slot in use, so the error is not read";
    EXPECT_NE(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "the error is left for its owner";

    scene.starTexture = testing::MakeSolidTexture(255, 255, 255);
    scene.starCustomTex = 2;
    for (int attempt = 0; attempt < 2; ++attempt) {
        testing::RaiseGlError();
        BindStarTexture();
    }
    ASSERT_EQ(platform->messages.size(), 1u) << "the fallen-back slot is not asked again";
    EXPECT_EQ(platform->messages[0].text, kUnableToLoadTextureMessage);
    EXPECT_EQ(scene.starTexFallback, 2);
    EXPECT_EQ(testing::BoundTexture(), 0u) << "OpenGL's default texture holds the bubble picture";
    testing::DrainGlErrors();
}

TEST_F(StarField, StarsAreColouredSquaresAtTheirPlaceOnTheDisc) {
    // Tilted 90 degrees the disc faces the camera at depth 30, where one unit
    // is 240 / (30 tan 22.5) = 19.31 pixels: a star sits at (dist cos angle,
    // dist sin angle) from the centre (360, 240) and its square is 38.6 wide.
    struct Placed { Star star; int x, y; };  // x, y: the square's centre in pixels
    const Placed placed[] = {{{255, 0, 0, 3.0f, 0.0f}, 418, 240},    {{0, 255, 0, 3.0f, 90.0f}, 360, 298},
                             {{0, 0, 255, 4.0f, 180.0f}, 283, 240}, {{200, 100, 50, 2.5f, 270.0f}, 360, 192}};
    scene.paused = 2;
    scene.starFieldTilt = 90.0f;
    scene.starTexture = testing::MakeSolidTexture(255, 255, 255);
    scene.starCustomTex = 2;
    for (auto& star : stars) star = Star{};  // black squares add nothing
    for (int i = 0; i < 4; ++i) stars[10 * i + 5] = placed[i].star;
    Frames(2);
    Capture();
    for (const auto& p : placed) {
        SCOPED_TRACE(p.star.angle);
        // The centre and 16 pixels from it are inside the square, 23 to the side outside.
        const testing::Rgb centre = Pixel(p.x, p.y);
        EXPECT_NEAR(centre.r, p.star.red, 2);
        EXPECT_NEAR(centre.g, p.star.green, 2);
        EXPECT_NEAR(centre.b, p.star.blue, 2);
        EXPECT_NEAR(Pixel(p.x, p.y + 16).r, p.star.red, 2);
        const testing::Rgb outside = Pixel(p.x + (p.x > 360 ? 23 : -23), p.y);
        EXPECT_EQ(outside.r + outside.g + outside.b, 0);
    }
    EXPECT_EQ(Pixel(360, 240).r, 0) << "nothing at the centre";
}

}  // namespace
}  // namespace quorbel
