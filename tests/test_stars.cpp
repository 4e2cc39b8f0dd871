// The star field: the inward spiral and rebirth, the warm-up, the field's
// zoom, the texture error and the squares on screen.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <tuple>
#include <utility>

#include "effect_gl_helpers.h"
#include "effects/stars.h"
#include "imaging/textures.h"
#include "support/scripted_platform.h"

namespace quorbel {
namespace {

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
    std::srand(11);  // star 0 was the only one reborn, so it drew first
    const int drawn[] = {std::rand() % 256, std::rand() % 256, std::rand() % 256};
    EXPECT_EQ(std::tuple(stars[0].red, stars[0].green, stars[0].blue), std::tuple(drawn[0], drawn[1], drawn[2]));
    EXPECT_EQ(stars[7].red, untouched.red) << "a star that is not reborn keeps its colour";
    scene.starSpeed = 2600.0f;  // 13 units a step: beyond the slider, possible from a settings file
    for (int step = 0; step < 5; ++step) StarWarmupStep();
    for (const auto& star : stars) EXPECT_TRUE(star.dist >= 0.0f && star.dist < 5.0f) << star.dist;
}

// The warm-up turns every star by its index whatever the spin, even while
// the stars are hidden; afterwards only the spin turns them.
TEST_F(StarField, WarmupRunsInTheFirstThousandPlayingFramesThenTheSpinTurnsAllButStarZero) {
    scene.starsHidden = 2;
    scene.starSpin = 0;
    scene.starWarmupFrames = 997;
    scene.paused = 2;
    Frames(2);
    EXPECT_EQ(stars[49].angle, 0.0f) << "paused frames do not count";
    scene.paused = 0;
    Frames(6);  // frames 998, 999 and 1000 warm up; 1001 ends it
    EXPECT_NEAR(stars[49].angle, 3 * 0.98f, 1e-5);
    scene.starsHidden = 0;
    for (auto [spin, star49PerFrame] : {std::pair{2, 0.98f}, {4, -0.98f}, {0, 0.0f}, {3, 0.0f}}) {
        stars[0].angle = stars[49].angle = 0.0f;
        scene.starSpin = spin;
        Frames(3);
        EXPECT_EQ(stars[0].angle, 0.0f) << "spin " << spin;
        EXPECT_NEAR(stars[49].angle, 3 * star49PerFrame, 1e-4) << "spin " << spin;
    }
}

// Speed 100 moves the depth 2.5 a frame; the bounds are start - 30 and
// finish - 1. Travelling over 100 inside a band 29 wide takes at least three
// turns, so the depth must come back rather than stick at a bound.
TEST_F(StarField, ZoomLoopAndBounceStayBetweenTheBoundsAndTurnBack) {
    struct Case { const char* what; int loop, bounce, start, finish; };
    const Case cases[] = {{"loop", 2, 0, 0, 0}, {"loop between moved bounds", 2, 0, 10, -5}, {"bounce", 0, 2, 0, 0}};
    scene.starZoomSpeed = 100.0f;
    for (const auto& c : cases) {
        std::tie(scene.starZoomLoop, scene.starZoomBounce, scene.starZoomStart, scene.starZoomFinish) =
            std::tuple(c.loop, c.bounce, c.start, c.finish);
        scene.starZoomBounceDir = 2;
        const float far = c.start - 30.0f, near = c.finish - 1.0f;
        float previous = scene.starFieldZ = far, travelled = 0.0f;
        for (int frame = 0; frame < 50; ++frame, previous = scene.starFieldZ) {
            RenderScene();
            EXPECT_TRUE(scene.starFieldZ >= far - 0.051f && scene.starFieldZ <= near + 0.051f) << c.what;
            travelled += std::fabs(scene.starFieldZ - previous);
        }
        EXPECT_GT(travelled, 100.0f) << c.what;
    }
}

TEST_F(StarField, RejectedSlotTextureIsReportedOnceAndFallsBack) {
    ScopedScriptedPlatform platform;
    scene.starTexture = testing::MakeSolidTexture(255, 255, 255);
    testing::RaiseGlError();
    BindStarTexture();
    EXPECT_TRUE(platform->messages.empty()) << "no slot in use, so the error is not read";
    scene.starCustomTex = 2;
    BindStarTexture();  // the error left pending for its owner is now taken as the slot's
    testing::RaiseGlError();
    BindStarTexture();
    ASSERT_EQ(platform->messages.size(), 1u) << "read once, and the fallen-back slot is not asked again";
    EXPECT_EQ(platform->messages[0].text, kUnableToLoadTextureMessage);
    EXPECT_EQ(testing::BoundTexture(), 0u) << "OpenGL's default texture holds the bubble picture";
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
    stars.fill(Star{});  // black squares add nothing
    for (int i = 0; i < 4; ++i) stars[10 * i + 5] = placed[i].star;
    Capture(2);
    // The centre and 16 pixels from it are inside the square, 23 to the side outside.
    for (const auto& [star, x, y] : placed) {
        EXPECT_TRUE(testing::RgbNear(Pixel(x, y), star.red, star.green, star.blue));
        EXPECT_TRUE(testing::RgbNear(Pixel(x, y + 16), star.red, star.green, star.blue));
        EXPECT_TRUE(testing::RgbNear(Pixel(x + (x > 360 ? 23 : -23), y), 0, 0, 0, 0)) << "beside " << star.angle;
    }
}

}  // namespace
}  // namespace quorbel
