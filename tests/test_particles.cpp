// The particle fountain: one step, rebirth and its colours, pause, hostile
// counts, the parameter step with its amplitude and zoom runs, and that a
// fixed seed repeats a render exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <tuple>
#include <utility>

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
        Engine().colourIndex = 0;
        scene.particleCount = 1;
        scene.paused = 0;
    }
    void Draw() { DrawParticleSystem(Engine(), System()); }
    // Draws the first particle once with a life about to run out.
    void DrawRebirth() {
        First().life = 0.001f;
        First().fade = 0.5f;
        Draw();
    }
    HeadlessEngine* engine_ = nullptr;
};

TEST_F(Particles, OneStepMovesByVelocityOverSlowdownAndNeverByInfinity) {
    // Velocity 10 over 0.5 x 1000; a zero, near-zero or NaN divisor holds still.
    const std::pair<float, float> cases[] = {{0.5f, 1.52f}, {-0.5f, 1.48f}, {0.0f, 1.5f}, {-0.0f, 1.5f},
                                             {SlowdownForSpeed(91), 1.5f}, {std::nanf(""), 1.5f}};
    for (const auto& [slowdown, x] : cases) {
        InitParticleSystem(System());
        System().slowdown = slowdown;
        First().position[0] = 1.5f;
        First().velocity[0] = 10;
        First().fade = 0.01f;
        Draw();
        EXPECT_FLOAT_EQ(First().position[0], x) << slowdown;
        EXPECT_FLOAT_EQ(First().life, 0.99f) << slowdown;
    }
}

TEST_F(Particles, RebirthHappensOnlyBelowZeroAndTurnsPale) {
    // {life, fade, reborn}: a life of exactly 0.0 is not yet over.
    const std::tuple<float, float, bool> cases[] = {
        {0.25f, 0.25f, false}, {0.25f, 0.5f, true}, {0.0f, 0.0f, false}, {0.001f, 0.002f, true}};
    for (const auto& [life, fade, reborn] : cases) {
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
        EXPECT_EQ(First().colour[0], 0.3f);
        EXPECT_EQ(First().colour[1], reborn ? 1.0f : 0.5f);
        EXPECT_EQ(First().colour[2], reborn ? 1.0f : 0.5f);
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
        scene.particleRandomColour = c.randomColour;
        scene.colourOffsetR = c.red;
        scene.colourOffsetG = c.green;
        scene.colourOffsetB = c.blue;
        Engine().colourIndex = c.colourIndex;
        First().colour[0] = 0.5f;
        DrawRebirth();
        SCOPED_TRACE(::testing::Message() << "index " << c.colourIndex << " red " << c.red);
        EXPECT_FLOAT_EQ(First().colour[0], c.r);
        EXPECT_FLOAT_EQ(First().colour[1], c.g);
        EXPECT_FLOAT_EQ(First().colour[2], c.b);
    }
    for (int offset : {std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), 1000000}) {
        scene.colourOffsetR = scene.colourOffsetG = scene.colourOffsetB = offset;
        DrawRebirth();
        for (float channel : First().colour) EXPECT_TRUE(channel >= 0.0f && channel <= 0.35f) << offset;
    }
}

TEST_F(Particles, CountOutsideTheBlockDrawsAtMost30000) {
    const std::pair<std::int32_t, std::uint32_t> cases[] = {
        {99999, 30000}, {30001, 30000}, {-5, 0}, {std::numeric_limits<std::int32_t>::min(), 0}};
    for (const auto& [count, drawn] : cases) {
        scene.particleCount = count;
        Draw();
        EXPECT_EQ(Engine().drawIndex, drawn) << count;
    }
}

TEST(ParticleSlowdown, FollowsTheSpeedSlider) {
    // 0.7 - speed / 130, computed by hand.
    const std::pair<float, float> cases[] = {{0, 0.7f}, {45, 0.35384615f}, {90, 0.00769231f}, {100, -0.06923077f}};
    scene.paused = 0;
    for (const auto& [speed, slowdown] : cases) {
        scene.particleSpeed = speed;
        UpdateParticleParameters();
        EXPECT_NEAR(TheParticleSystem().slowdown, slowdown, 1e-6f) << speed;
    }
}

// The amplitude run drives `radius`, the zoom run `zoom`; both follow the
// same rules, so every case runs on both. Speed 10 steps 0.2 a pass.
TEST_F(Particles, AmplitudeAndZoomRunsLoopAndBounce) {
    struct Case { const char* what; float value, start, finish; bool loop, rising; float afterOne, afterTwo; };
    const Case cases[] = {
        {"loop, finish below start, sticks at start", 0.0f, 5.0f, -1.0f, true, false, 5.0f, 5.0f},
        {"loop climbs and jumps back", 0.6f, 0.0f, 1.0f, true, false, 0.8f, 0.0f},
        {"bounce turns at the top in the same pass", 0.8f, 0.0f, 1.0f, false, true, 0.8f, 0.6f},
        {"bounce turns at the bottom", 0.25f, 0.0f, 1.0f, false, false, 0.05f, 0.25f},
    };
    struct RunFields { float *value, *start, *finish, *speed; std::int32_t *loop, *bounce, *rising, *falling; };
    const RunFields runs[] = {{&System().radius, &scene.amplitudeStart, &scene.amplitudeFinish, &scene.amplitudeSpeed,
                               &scene.amplitudeLoop, &scene.amplitudeBounce, &scene.amplitudeRising,
                               &scene.amplitudeFalling},
                              {&System().zoom, &scene.zoomStart, &scene.zoomFinish, &scene.zoomSpeed, &scene.zoomLoop,
                               &scene.zoomBounce, &scene.zoomRising, &scene.zoomFalling}};
    for (const RunFields& run : runs)
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << (run.value == &System().zoom ? "zoom: " : "amplitude: ") << c.what);
            *run.value = c.value;
            *run.start = c.start;
            *run.finish = c.finish;
            *run.speed = 10.0f;
            *run.loop = c.loop ? 2 : 0;
            *run.bounce = c.loop ? 0 : 2;
            *run.rising = c.rising ? 2 : 0;
            *run.falling = c.rising ? 0 : 2;
            UpdateParticleParameters();
            EXPECT_NEAR(*run.value, c.afterOne, 1e-5f);
            UpdateParticleParameters();
            EXPECT_NEAR(*run.value, c.afterTwo, 1e-5f);
        }
}

// Paused: drawn where they stand (nothing moves or is reborn), yet the
// angle counter runs on, once per drawn particle.
TEST_F(Particles, ShownParticlesLightTheViewAndPausedOnesStandStill) {
    scene.startupStage = 2;
    scene.textHidden = 2;
    scene.particleCount = 2000;
    scene.particleSpeed = 85.0f;  // fast enough to spread over the view
    const auto frame = [this](int frames) {
        engine_->RenderFrames(frames);
        return engine_->ReadPixels();
    };
    EXPECT_EQ(testing::CountLitPixels(frame(5)), 0) << "hidden";
    scene.particlesShown = 2;
    frame(10);
    scene.paused = 2;
    const auto paused = frame(1);
    const std::int32_t counter = Engine().angleCounter;
    EXPECT_GT(testing::CountLitPixels(paused), 100);
    EXPECT_EQ(frame(3), paused);
    EXPECT_EQ(Engine().angleCounter, (counter + 3 * 2000) % 360);
    scene.paused = 0;
    // Each particle is drawn before its step: the first playing frame still
    // shows the paused picture, the one after it has moved on.
    EXPECT_EQ(frame(1), paused);
    EXPECT_NE(frame(1), paused);
}

TEST(SeededRender, SameSeedGivesTheSameFrame) {
    testing::TempDirectory output;
    std::filesystem::current_path(testing::SourceDir());  // the program finds Data/ there
    const auto render = [&](const std::string& name) {
        const std::string png = output.path() + "/" + name;
        auto run = testing::RunQuorbel("--seed 5 --snapshot " + png +
                                       " --frames 60 --set particlesShown=2 --set fireShown=2 --set textHidden=2");
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::ifstream file(png, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    };
    const std::string first = render("a.png");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(render("b.png"), first);
}

}  // namespace
}  // namespace quorbel
