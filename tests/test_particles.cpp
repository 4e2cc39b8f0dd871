// The particle fountain: first births, one step, rebirth and its colours,
// pause, the amplitude and zoom runs, the slowdown, hostile counts, and
// that a fixed seed repeats a render exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "effects/particles.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"
#include "support/process.h"

namespace quorbel {
namespace {

ParticleSystem& System() { return TheParticleSystem(); }
ParticleEngine& Engine() { return TheParticleEngine(); }
Particle& First() { return System().particles[0]; }

// A rebuilt system and engine, one particle drawn, the GL context current.
class Particles : public ::testing::Test {
protected:
    void SetUp() override {
        engine_ = testing::FreshScene();
        ASSERT_NE(engine_, nullptr);
        InitParticleSystem(System());
        Engine().angleCounter = 0;
        Engine().colourIndex = 0;
        scene.particleCount = 1;
        scene.paused = 0;
    }
    void Draw() { DrawParticleSystem(Engine(), System()); }
    HeadlessEngine* engine_ = nullptr;
};

// ----- first generation -----------------------------------------------------

TEST_F(Particles, FirstBirthsDrawRandomNumbersInTheOrderFadeXYZ) {
    std::srand(7);
    int expected[3][4];
    for (auto& birth : expected)
        for (int& number : birth) number = std::rand();
    std::srand(7);
    InitParticleSystem(System());
    for (int k = 0; k < 3; ++k) {
        const Particle& particle = System().particles[k];
        EXPECT_FLOAT_EQ(particle.fade, (expected[k][0] % 100) * 0.001f + 0.003f) << k;
        EXPECT_EQ(particle.velocity[0], expected[k][1] % 50 - 26) << k;
        EXPECT_EQ(particle.velocity[1], expected[k][2] % 50 - 25) << k;
        EXPECT_EQ(particle.velocity[2], expected[k][3] % 50 - 25) << k;
        EXPECT_TRUE(particle.active);
        EXPECT_EQ(particle.life, 1.0f);
    }
}

TEST_F(Particles, FirstColoursTakeOneTableRowPer2500Particles) {
    struct Case {
        int index;
        float green;
    };
    for (const Case& c : {Case{0, 0.5f}, Case{2499, 0.5f}, Case{15000, 0.65f}, Case{19999, 0.65f},
                          Case{20000, 0.5f}, Case{25000, 0.55f}, Case{29999, 0.55f}}) {
        const Particle& particle = System().particles[c.index];
        EXPECT_EQ(particle.colour[0], 1.0f) << c.index;
        EXPECT_EQ(particle.colour[1], c.green) << c.index;
        EXPECT_EQ(particle.colour[2], 0.25f) << c.index;
    }
}

TEST_F(Particles, RebuildRestoresTheLiveValues) {
    System().zoom = 5;
    System().slowdown = 3;
    System().radius = 2;
    System().angleStep = 4;
    System().gravity[1] = -9;
    System().colourTable[3][1] = 0.9f;
    scene.particleRotate90 = 2;
    InitParticleSystem(System());
    EXPECT_EQ(System().zoom, -60.0f);
    EXPECT_EQ(System().slowdown, 0.0f);
    EXPECT_EQ(System().radius, 0.0f);
    EXPECT_EQ(System().angleStep, 1);
    EXPECT_EQ(System().gravity[1], 0.8f);
    EXPECT_EQ(System().colourTable[3][1], 0.5f);
    EXPECT_TRUE(System().verticalRing);
    scene.particleRotate90 = 1;
    InitParticleSystem(System());
    EXPECT_FALSE(System().verticalRing);
}

// ----- one step --------------------------------------------------------------

TEST_F(Particles, OneStepAddsVelocityOverSlowdownThenGravityThenFade) {
    System().slowdown = 0.5f;
    First().velocity[0] = 10;
    First().velocity[1] = -20;
    First().velocity[2] = 5;
    First().fade = 0.01f;
    Draw();
    // 0.5 x 1000 = 500: the velocity moves the particle by a 500th.
    EXPECT_FLOAT_EQ(First().position[0], 0.02f);
    EXPECT_FLOAT_EQ(First().position[1], -0.04f);
    EXPECT_FLOAT_EQ(First().position[2], 0.01f);
    // The system's gravity (0, 0.8, 0) is copied in before the step.
    EXPECT_FLOAT_EQ(First().velocity[0], 10.0f);
    EXPECT_FLOAT_EQ(First().velocity[1], -19.2f);
    EXPECT_FLOAT_EQ(First().velocity[2], 5.0f);
    EXPECT_FLOAT_EQ(First().life, 0.99f);
}

TEST_F(Particles, ZeroOrNearZeroSlowdownLeavesPositionsFiniteAndInPlace) {
    for (float slowdown : {0.0f, -0.0f, SlowdownForSpeed(91), std::numeric_limits<float>::quiet_NaN()}) {
        InitParticleSystem(System());
        System().slowdown = slowdown;
        First().position[0] = 1.5f;
        First().velocity[0] = 20;
        const float rise = First().velocity[1];
        Draw();
        EXPECT_EQ(First().position[0], 1.5f) << slowdown;
        EXPECT_TRUE(std::isfinite(First().position[1])) << slowdown;
        EXPECT_FLOAT_EQ(First().velocity[1], rise + 0.8f) << slowdown;
        EXPECT_LT(First().life, 1.0f) << slowdown;
    }
}

TEST_F(Particles, NegativeSlowdownReversesTheMotion) {
    System().slowdown = -0.5f;
    First().velocity[0] = 10;
    Draw();
    EXPECT_FLOAT_EQ(First().position[0], -0.02f);
}

// ----- rebirth -----------------------------------------------------------------

TEST_F(Particles, RebirthHappensOnlyBelowZero) {
    struct Case {
        float life, fade;
        bool reborn;
    };
    for (const Case& c : {Case{0.25f, 0.25f, false}, Case{0.25f, 0.5f, true}, Case{0.0f, 0.0f, false},
                          Case{0.001f, 0.002f, true}}) {
        First().life = c.life;
        First().fade = c.fade;
        First().position[0] = 3.0f;
        System().slowdown = 0.0f;
        Draw();
        if (c.reborn) {
            EXPECT_EQ(First().life, 1.0f) << c.life << " - " << c.fade;
            EXPECT_EQ(First().position[0], 0.0f) << "born at the centre with amplitude 0";
        } else {
            EXPECT_EQ(First().life, c.life - c.fade) << c.life << " - " << c.fade;
            EXPECT_EQ(First().position[0], 3.0f);
        }
    }
}

TEST_F(Particles, RebornWithZeroOffsetsKeepsRedAndTurnsPale) {
    First().life = 0.001f;
    First().fade = 0.5f;
    First().colour[0] = 0.3f;
    Draw();
    EXPECT_EQ(First().colour[0], 0.3f);
    EXPECT_EQ(First().colour[1], 1.0f);
    EXPECT_EQ(First().colour[2], 1.0f);
}

TEST_F(Particles, RebirthColourReadsTheTableAsOneListOf36) {
    // Component k holds k / 100, so every read shows which index it used.
    for (int k = 0; k < kColourComponents; ++k) System().colourTable[k / 3][k % 3] = k / 100.0f;
    struct Case {
        int randomColour, colourIndex, red, green, blue;
        float expectRed, expectGreen, expectBlue;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0.5f, 0.00f, 0.00f},    // red unchanged
        {0, 2, 1, 2, 3, 0.5f, 0.09f, 0.10f},    // green 6+1+2, blue 6+3+1
        {2, 1, 4, 10, 16, 0.07f, 0.13f, 0.19f},  // random colour: each its own offset
        // Past the end (the sliders reach 50, 25, 20): wraps round the 36.
        {2, 10, 50, 25, 20, 0.08f, 0.19f, 0.14f},
        {0, 10, 50, 25, 20, 0.5f, 0.33f, 0.28f},  // 105 and 100
        {2, 0, -1, -37, 72, 0.35f, 0.35f, 0.00f},  // below the start too
    };
    for (const Case& c : cases) {
        scene.particleRandomColour = c.randomColour;
        scene.colourOffsetR = c.red;
        scene.colourOffsetG = c.green;
        scene.colourOffsetB = c.blue;
        Engine().colourIndex = c.colourIndex;
        First().life = 0.001f;
        First().fade = 0.5f;
        First().colour[0] = 0.5f;
        Draw();
        EXPECT_FLOAT_EQ(First().colour[0], c.expectRed) << c.colourIndex << " " << c.red;
        EXPECT_FLOAT_EQ(First().colour[1], c.expectGreen) << c.colourIndex << " " << c.red;
        EXPECT_FLOAT_EQ(First().colour[2], c.expectBlue) << c.colourIndex << " " << c.red;
    }
}

TEST_F(Particles, HostileOffsetsNeverReadOutsideTheTable) {
    for (int offset : {std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), -1, 36, 1000000}) {
        scene.colourOffsetR = scene.colourOffsetG = scene.colourOffsetB = offset;
        Engine().colourIndex = 10;
        First().life = 0.001f;
        First().fade = 0.5f;
        Draw();
        for (float channel : First().colour) {
            EXPECT_GE(channel, 0.25f) << offset;
            EXPECT_LE(channel, 1.0f) << offset;
        }
    }
}

TEST_F(Particles, RebirthLiesOnTheRingAtTheCounterAngle) {
    for (bool vertical : {false, true}) {
        System().radius = 2.0f;
        System().verticalRing = vertical;
        Engine().angleCounter = 89;  // the draw advances it to 90 before the birth
        First().life = 0.001f;
        First().fade = 0.5f;
        Draw();
        // 90 x 2 half-degrees: a quarter turn, up to the constant's rounding.
        EXPECT_NEAR(First().position[0], 0.0f, 1e-3f);
        EXPECT_NEAR(First().position[2], 2.0f, 1e-5f);
        EXPECT_NEAR(First().position[1], vertical ? 2.0f : 0.0f, 1e-5f) << vertical;
    }
}

// ----- pause, counters, hostile counts ------------------------------------------

TEST_F(Particles, PausedKeepsEveryParticleButAdvancesTheAngleCounter) {
    scene.particleCount = 100;
    scene.paused = 2;
    System().slowdown = 0.5f;
    System().particles[7].life = 0.0f;
    const auto before = System().particles;
    Draw();
    EXPECT_EQ(Engine().angleCounter, 100);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(System().particles[i].life, before[i].life) << i;
        EXPECT_EQ(System().particles[i].position[1], before[i].position[1]) << i;
        EXPECT_EQ(System().particles[i].velocity[1], before[i].velocity[1]) << i;
    }
}

TEST_F(Particles, ColourCycleRunsFromZeroToTen) {
    scene.particleCount = 12;
    scene.particleColourCycle = 1;
    Draw();
    EXPECT_EQ(Engine().colourIndex, 1);  // 1..10, 0, 1
    scene.particleColourCycle = 0;
    Draw();
    EXPECT_EQ(Engine().colourIndex, 1);
}

TEST_F(Particles, CountOutsideTheBlockDrawsAtMost30000) {
    struct Case {
        std::int32_t count;
        std::uint32_t drawn;
    };
    for (const Case& c : {Case{99999, 30000}, Case{30000, 30000}, Case{30001, 30000}, Case{-5, 0}, Case{0, 0},
                          Case{std::numeric_limits<std::int32_t>::min(), 0}}) {
        scene.particleCount = c.count;
        Engine().angleCounter = 0;
        Draw();
        EXPECT_EQ(Engine().drawIndex, c.drawn) << c.count;
        EXPECT_EQ(Engine().angleCounter, static_cast<std::int32_t>(c.drawn % 360)) << c.count;
    }
}

// ----- parameter step --------------------------------------------------------------

TEST_F(Particles, RandomColourOffsetsAreSetEvenWhilePaused) {
    scene.particleRandomColour = 2;
    scene.paused = 2;
    scene.gravityY = -3.0f;
    UpdateParticleParameters();
    EXPECT_EQ(scene.colourOffsetR, 4);
    EXPECT_EQ(scene.colourOffsetG, 10);
    EXPECT_EQ(scene.colourOffsetB, 16);
    EXPECT_EQ(System().gravity[1], 0.8f) << "the rest waits while paused";
    EXPECT_EQ(System().slowdown, 0.0f);
}

TEST_F(Particles, ParameterStepCopiesGravity) {
    scene.gravityX = 0.1f;
    scene.gravityY = -0.2f;
    scene.gravityZ = 0.3f;
    UpdateParticleParameters();
    EXPECT_EQ(System().gravity[0], 0.1f);
    EXPECT_EQ(System().gravity[1], -0.2f);
    EXPECT_EQ(System().gravity[2], 0.3f);
}

TEST(ParticleSlowdown, FollowsTheSpeedSlider) {
    struct Case {
        float speed, slowdown, tolerance;
    };
    // 0.7 - speed / 130, computed by hand.
    for (const Case& c : {Case{0, 0.7f, 0}, Case{45, 0.35384615f, 1e-6f}, Case{90, 0.00769231f, 1e-6f},
                          Case{91, 0.0f, 1e-6f}, Case{100, -0.06923077f, 1e-6f}}) {
        scene.particleSpeed = c.speed;
        scene.paused = 0;
        UpdateParticleParameters();
        EXPECT_NEAR(TheParticleSystem().slowdown, c.slowdown, c.tolerance) << c.speed;
    }
}

// The amplitude run drives `radius`, the zoom run `zoom`; both follow the
// same rules, so every case runs on both.
struct RunAccess {
    const char* name;
    float* value;
    float* start;
    float* finish;
    float* speed;
    std::int32_t* loop;
    std::int32_t* bounce;
    std::int32_t* rising;
    std::int32_t* falling;
};

std::vector<RunAccess> Runs() {
    return {{"amplitude", &System().radius, &scene.amplitudeStart, &scene.amplitudeFinish, &scene.amplitudeSpeed,
             &scene.amplitudeLoop, &scene.amplitudeBounce, &scene.amplitudeRising, &scene.amplitudeFalling},
            {"zoom", &System().zoom, &scene.zoomStart, &scene.zoomFinish, &scene.zoomSpeed, &scene.zoomLoop,
             &scene.zoomBounce, &scene.zoomRising, &scene.zoomFalling}};
}

TEST_F(Particles, LoopWithFinishBelowStartSticksAtStart) {
    for (const RunAccess& run : Runs()) {
        *run.value = 0.0f;
        *run.start = 5.0f;
        *run.finish = -1.0f;
        *run.speed = 10.0f;
        *run.loop = 2;
        for (int pass = 0; pass < 4; ++pass) {
            UpdateParticleParameters();
            EXPECT_EQ(*run.value, 5.0f) << run.name << " pass " << pass;
        }
        EXPECT_EQ(*run.loop, 3) << run.name;
        *run.loop = 0;
    }
}

TEST_F(Particles, LoopClimbsBySpeedTimesTwoHundredthsAndJumpsBack) {
    for (const RunAccess& run : Runs()) {
        *run.value = 0.0f;
        *run.start = 0.0f;
        *run.finish = 1.0f;
        *run.speed = 10.0f;
        *run.loop = 2;
        const float expected[] = {0.2f, 0.4f, 0.6f, 0.8f, 0.0f, 0.2f};
        for (float value : expected) {
            UpdateParticleParameters();
            EXPECT_NEAR(*run.value, value, 1e-5f) << run.name;
        }
        *run.loop = 0;
    }
}

TEST_F(Particles, BounceTurnsAtTheTopAndStepsBackInTheSamePass) {
    for (const RunAccess& run : Runs()) {
        *run.value = 0.8f;
        *run.start = 0.0f;
        *run.finish = 1.0f;
        *run.speed = 10.0f;
        *run.bounce = 2;
        *run.rising = 2;
        *run.falling = 0;
        UpdateParticleParameters();  // up to 1.0, turn, down to 0.8
        EXPECT_NEAR(*run.value, 0.8f, 1e-5f) << run.name;
        EXPECT_EQ(*run.rising, 0) << run.name;
        EXPECT_EQ(*run.falling, 2) << run.name;
        UpdateParticleParameters();
        EXPECT_NEAR(*run.value, 0.6f, 1e-5f) << run.name;
        *run.bounce = 0;
    }
}

TEST_F(Particles, BounceTurnsAtTheBottom) {
    for (const RunAccess& run : Runs()) {
        *run.value = 0.25f;
        *run.start = 0.0f;
        *run.finish = 1.0f;
        *run.speed = 10.0f;
        *run.bounce = 2;
        *run.rising = 0;
        *run.falling = 2;
        UpdateParticleParameters();  // down to 0.05, at or below start + 0.1: turn
        EXPECT_NEAR(*run.value, 0.05f, 1e-5f) << run.name;
        EXPECT_EQ(*run.falling, 0) << run.name;
        EXPECT_EQ(*run.rising, 2) << run.name;
        UpdateParticleParameters();
        EXPECT_NEAR(*run.value, 0.25f, 1e-5f) << run.name;
        *run.bounce = 0;
    }
}

// ----- what reaches the screen ------------------------------------------------------

class ParticleFrames : public Particles {
protected:
    void SetUp() override {
        Particles::SetUp();
        scene.startupStage = 2;
        scene.textHidden = 2;
        scene.particleCount = 2000;
        scene.particleSpeed = 85.0f;  // fast enough to spread over the view
    }
    std::vector<std::uint8_t> Frame(int frames) {
        engine_->RenderFrames(frames);
        return engine_->ReadPixels();
    }
};

TEST_F(ParticleFrames, ShownParticlesLightTheViewHiddenOnesDoNot) {
    std::vector<std::uint8_t> hidden = Frame(5);
    EXPECT_EQ(testing::CountLitPixels(hidden), 0);
    scene.particlesShown = 2;
    std::vector<std::uint8_t> shown = Frame(20);
    EXPECT_GT(testing::CountLitPixels(shown), 500);
}

TEST_F(ParticleFrames, PausedParticlesAreDrawnWhereTheyStand) {
    scene.particlesShown = 2;
    Frame(10);
    scene.paused = 2;
    std::vector<std::uint8_t> first = Frame(1);
    std::vector<std::uint8_t> second = Frame(3);
    EXPECT_GT(testing::CountLitPixels(first), 100);
    EXPECT_EQ(first, second);
    scene.paused = 0;
    // Each particle is drawn before its step: the first playing frame still
    // shows the paused picture, the one after it has moved on.
    EXPECT_EQ(Frame(1), second);
    EXPECT_NE(Frame(1), second);
}

// ----- a fixed seed repeats a render --------------------------------------------------

class SeededRender : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::current_path(testing::SourceDir()); }
    std::string Render(unsigned seed, const char* name) {
        const std::string png = output_.path() + "/" + name;
        auto run = testing::RunQuorbel("--seed " + std::to_string(seed) + " --snapshot " + png +
                                       " --frames 60 --set particlesShown=2 --set fireShown=2 --set textHidden=2");
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::ifstream file(png, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    testing::TempDirectory output_;
};

TEST_F(SeededRender, SameSeedGivesTheSameFrameAnotherSeedDoesNot) {
    const std::string first = Render(5, "a.png");
    const std::string again = Render(5, "b.png");
    const std::string other = Render(6, "c.png");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, again);
    EXPECT_NE(first, other);
}

}  // namespace
}  // namespace quorbel
