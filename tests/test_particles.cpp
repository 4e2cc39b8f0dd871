// The particle fountain: one step, rebirth and its colours, pause, hostile
// counts, the parameter step with its amplitude and zoom runs, and that a
// fixed seed repeats a render exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <tuple>
#include <utility>

#include "effect_gl_helpers.h"
#include "effects/particles.h"
#include "support/process.h"

namespace quorbel {
namespace {

ParticleSystem& System() { return TheParticleSystem(); }
ParticleEngine& Engine() { return TheParticleEngine(); }
Particle& First() { return System().particles[0]; }
std::tuple<float, float, float> FirstColour() { return {First().colour[0], First().colour[1], First().colour[2]}; }

// A rebuilt system and engine, one particle drawn.
class Particles : public testing::EffectTest {
protected:
    void SetUp() override {
        EffectTest::SetUp();
        InitParticleSystem(System());
        Engine().colourIndex = 0;
        scene.particleCount = 1;
    }
    static void Draw() { DrawParticleSystem(Engine(), System()); }
};

TEST_F(Particles, OneStepMovesByVelocityOverSlowdownAndNeverByInfinity) {
    // Velocity 10 over 0.5 x 1000; a zero, near-zero or NaN divisor holds still.
    const std::pair<float, float> cases[] = {{0.5f, 1.52f}, {-0.5f, 1.48f}, {0.0f, 1.5f}, {-0.0f, 1.5f},
                                             {SlowdownForSpeed(91), 1.5f}, {std::nanf(""), 1.5f}};
    for (const auto& [slowdown, x] : cases) {
        System().slowdown = slowdown;
        First().position[0] = 1.5f;
        First().velocity[0] = 10;
        Draw();
        EXPECT_FLOAT_EQ(First().position[0], x) << slowdown;
    }
}

TEST_F(Particles, RebirthHappensOnlyBelowZeroAndTurnsPale) {
    // A life of exactly 0.0 is not yet over.
    for (auto [life, fade, reborn] : {std::tuple{0.25f, 0.25f, false}, {0.0f, 0.0f, false}, {0.25f, 0.5f, true}}) {
        First().life = life;
        First().fade = fade;
        First().position[0] = 3.0f;
        First().colour[0] = 0.3f;
        First().colour[1] = First().colour[2] = 0.5f;
        Draw();
        SCOPED_TRACE(::testing::Message() << life << " - " << fade);
        EXPECT_EQ(First().life, reborn ? 1.0f : life - fade);
        EXPECT_EQ(First().position[0], reborn ? 0.0f : 3.0f) << "born at the centre with amplitude 0";
        // Zero offsets: red unchanged, green and blue full.
        EXPECT_EQ(FirstColour(), std::tuple(0.3f, reborn ? 1.0f : 0.5f, reborn ? 1.0f : 0.5f));
    }
}

TEST_F(Particles, RebirthColourReadsTheTableAsOneListOf36) {
    // Component k holds k / 100, so every read shows which index it used.
    for (int k = 0; k < kColourComponents; ++k) System().colourTable[k / 3][k % 3] = k / 100.0f;
    struct Case { int randomColour, colourIndex, red, green, blue; float r, g, b; };
    const Case cases[] = {
        {0, 2, 1, 2, 3, 0.5f, 0.09f, 0.10f},      // green 6+1+2, blue 6+3+1, red unchanged
        {2, 1, 4, 10, 16, 0.07f, 0.13f, 0.19f},   // random colour: each its own offset
        {2, 10, 50, 25, 20, 0.08f, 0.19f, 0.14f}, // past the end wraps round the 36
        {2, 0, -1, -37, 72, 0.35f, 0.35f, 0.00f}, // below the start too
    };
    for (const Case& c : cases) {
        std::tie(scene.particleRandomColour, scene.colourOffsetR, scene.colourOffsetG, scene.colourOffsetB) =
            std::tuple(c.randomColour, c.red, c.green, c.blue);
        Engine().colourIndex = c.colourIndex;
        First().colour[0] = 0.5f;
        First().life = -1.0f;  // reborn in this pass
        Draw();
        EXPECT_EQ(FirstColour(), std::tuple(c.r, c.g, c.b)) << "index " << c.colourIndex << " red " << c.red;
    }
    for (int offset : {std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), 1000000}) {
        scene.colourOffsetR = scene.colourOffsetG = scene.colourOffsetB = offset;
        First().life = -1.0f;
        Draw();
        for (float channel : First().colour) EXPECT_TRUE(channel >= 0.0f && channel <= 0.35f) << offset;
    }
}

// Each drawn particle moves the cycle one row on; row 10 is the last.
TEST_F(Particles, ColourCycleUsesTheLastRowThenStartsAgain) {
    scene.particleColourCycle = 1;
    Engine().colourIndex = 9;
    Draw();
    EXPECT_EQ(Engine().colourIndex, 10);
    Draw();
    EXPECT_EQ(Engine().colourIndex, 0);
}

TEST_F(Particles, CountOutsideTheBlockDrawsAtMost30000) {
    for (auto [count, drawn] : {std::pair{99999, 30000u}, {30001, 30000u}, {-5, 0u}, {INT32_MIN, 0u}}) {
        scene.particleCount = count;
        Draw();
        EXPECT_EQ(Engine().drawIndex, drawn) << count;
    }
}

// The amplitude run drives `radius`, the zoom run `zoom`; both follow the
// same rules, so every case runs on both at once. Speed 10 steps 0.2 a pass.
TEST_F(Particles, AmplitudeAndZoomRunsLoopAndBounce) {
    struct Case { const char* what; float value, start, finish; bool loop, rising; float afterOne, afterTwo; };
    const Case cases[] = {{"loop, finish below start, sticks at start", 0, 5, -1, true, false, 5, 5},
                          {"loop climbs and jumps back", 0.6f, 0, 1, true, false, 0.8f, 0},
                          {"bounce turns at the top in the same pass", 0.8f, 0, 1, false, true, 0.8f, 0.6f},
                          {"bounce turns at the bottom", 0.25f, 0, 1, false, false, 0.05f, 0.25f}};
    scene.amplitudeSpeed = scene.zoomSpeed = 10.0f;
    for (const Case& c : cases) {
        System().radius = System().zoom = c.value;
        scene.amplitudeStart = scene.zoomStart = c.start;
        scene.amplitudeFinish = scene.zoomFinish = c.finish;
        scene.amplitudeLoop = scene.zoomLoop = c.loop ? 2 : 0;
        scene.amplitudeBounce = scene.zoomBounce = c.loop ? 0 : 2;
        scene.amplitudeRising = scene.zoomRising = c.rising ? 2 : 0;
        scene.amplitudeFalling = scene.zoomFalling = c.rising ? 0 : 2;
        for (float expected : {c.afterOne, c.afterTwo}) {
            UpdateParticleParameters();
            EXPECT_NEAR(System().radius, expected, 1e-5f) << "amplitude: " << c.what;
            EXPECT_NEAR(System().zoom, expected, 1e-5f) << "zoom: " << c.what;
        }
    }
}

// Paused: drawn where they stand (nothing moves or is reborn), yet the
// angle counter runs on, once per drawn particle.
TEST_F(Particles, ShownParticlesLightTheViewAndPausedOnesStandStill) {
    scene.particleCount = 2000;
    scene.particleSpeed = 85.0f;  // fast enough to spread over the view
    Capture(5);
    EXPECT_EQ(Lit(), 0) << "hidden";
    scene.particlesShown = 2;
    Frames(10);
    scene.paused = 2;
    const std::vector<std::uint8_t> paused = Capture(1);
    const std::int32_t counter = Engine().angleCounter;
    EXPECT_GT(Lit(), 100);
    EXPECT_EQ(Capture(3), paused);
    EXPECT_EQ(Engine().angleCounter, (counter + 3 * 2000) % 360);
    scene.paused = 0;
    // Each particle is drawn before its step: the first playing frame still
    // shows the paused picture, the one after it has moved on.
    EXPECT_EQ(Capture(1), paused);
    EXPECT_NE(Capture(1), paused);
}

TEST(SeededRender, SameSeedGivesTheSameFrame) {
    testing::TempDirectory output;
    std::filesystem::current_path(testing::SourceDir());  // the program finds Data/ there
    const auto render = [](const std::string& png) {
        auto run = testing::RunQuorbel("--seed 5 --snapshot " + png +
                                       " --frames 60 --set particlesShown=2 --set fireShown=2 --set textHidden=2");
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return testing::FileText(png);
    };
    const std::string first = render(output.File("a.png"));
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(render(output.File("b.png")), first);
}

}  // namespace
}  // namespace quorbel
