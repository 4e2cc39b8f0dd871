// The fire: births per pass, aging and death, the aging step from the life
// slider, colour rotation, freezing, the emission point, the camera-facing
// quads, and a fire that could not be made.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "effect_gl_helpers.h"
#include "effects/fire.h"

namespace quorbel {
namespace {

FireSystem& Fire() { return *TheFireSystem(); }
FireParticle& Particle(int i) { return Fire().particleList[i]; }
int AliveCount() {
    return static_cast<int>(std::count_if(&Particle(0), &Particle(0) + 300, [](const auto& p) { return p.alive; }));
}

class FireTest : public testing::EffectTest {
protected:
    void SetUp() override {
        EffectTest::SetUp();
        CreateFireSystem();  // the view's set-up leaves the model-view matrix current
    }
};

TEST_F(FireTest, BadIndexOrTotalIsIgnoredAndAnAbsentFireDrawsNothing) {
    for (std::int32_t index : {-1, 300}) Fire().InitFireParticle(index);
    EXPECT_EQ(AliveCount(), 0);
    for (std::int32_t total : {0, -3}) {
        CreateFireSystem(total);
        EXPECT_EQ(TheFireSystem(), nullptr) << total;
        DrawFire();  // a safe no-op
    }
}

TEST_F(FireTest, AgingPassBirthsAtMostStepDivTenRoundedUpMovesAndKillsAbove1000) {
    const std::pair<std::int32_t, int> cases[] = {{0, 0}, {1, 1}, {10, 1}, {11, 2}, {59, 6}, {5000, 300}, {-20, 0}};
    for (const auto& [step, births] : cases) {
        Fire().KillAll();
        Fire().UpdateFire(step);
        EXPECT_EQ(AliveCount(), births) << "step " << step;
    }
    // The last case left every slot dead.
    Particle(0) = {{1.0f, 2.0f, 0.0f}, {0.001f, 0.002f, -0.0005f}, {}, {}, 1000, true};
    Particle(1) = {{}, {}, {}, {}, 1001, true};
    Fire().UpdateFire(10);
    EXPECT_TRUE(Particle(0).alive) << "exactly 1000 still lives";
    EXPECT_FLOAT_EQ(Particle(0).position.x, 1.01f);
    EXPECT_FALSE(Particle(1).alive) << "dead, and not reborn in the same pass";
    EXPECT_TRUE(Particle(2).alive) << "the one birth goes to the first dead slot";
    const std::pair<float, std::int32_t> lives[] = {{-50, 0}, {0, 54}, {50, 108}, {std::nanf(""), 0}, {1e30f, 1000000}};
    for (const auto& [life, step] : lives) EXPECT_EQ(FireStepForLife(life), step) << "life " << life;
}

TEST_F(FireTest, ColourIsTheSlidersPlusATenthAndRotationClimbsPerBirth) {
    struct Case { std::int32_t rotate; float channel, speed, colour, after; };
    // No rotation; rotation at speed 0 still climbs by 0.01 a birth; 49.5 + 0.5
    // + 0.01 wraps to 0, and so does reaching 50 exactly, leaving 0 at speed 0.
    const Case cases[] = {{0, 10.0f, 0.0f, 0.3f, 10.0f}, {2, 10.0f, 0.0f, 0.2f, 10.01f},
                          {2, 49.5f, 2.5f, 0.99f, 0.0f}, {2, 49.995f, 0.0f, 0.9999f, 0.0f}};
    for (const Case& c : cases) {
        scene.fireColourRotate = c.rotate;
        scene.fireRed = scene.fireGreen = scene.fireBlue = c.channel;
        scene.fireRotateSpeed = c.speed;
        Fire().InitFireParticle(0);
        SCOPED_TRACE(::testing::Message() << "channels at " << c.channel << ", rotate " << c.rotate);
        for (float colour : Particle(0).colour) EXPECT_NEAR(colour, c.colour, 1e-4f);
        for (float field : {scene.fireRed, scene.fireGreen, scene.fireBlue}) EXPECT_NEAR(field, c.after, 1e-4f);
    }
}

TEST_F(FireTest, EmissionPointIsTwiceThePositionPlusTheWobble) {
    scene.fireX = 1.0f, scene.fireY = 0.5f;
    scene.fireWobbleFreqX = 2.0f, scene.fireWobbleFreqY = 3.0f;
    scene.fireWobbleTimeX = 0.3f, scene.fireWobbleTimeY = 0.2f;
    DrawFire();
    // The particle is drawn after the same translation as the fire.
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[12] + Particle(0).position.x, 2.0 + std::sin(0.3 * 2 * 0.628318) * 1.5, 1e-5);
    EXPECT_NEAR(m[13] + Particle(0).position.y, 1.0 + std::sin(0.2 * 3 * 0.628318) * 1.5, 1e-5);
}

TEST_F(FireTest, LowestLifeOrPauseFreezesTheFire) {
    // Births, aging, motion and the wobble each show in one of these.
    const auto seen = [] { return std::tuple(AliveCount(), Particle(0).age, Particle(0).position.y, scene.fireEmitX); };
    for (int pass = 0; pass < 5; ++pass) DrawFire();
    ASSERT_EQ(AliveCount(), 30);
    for (bool paused : {false, true}) {
        scene.fireWobbleFreqX = paused ? 1.0f : 0.0f;  // the wobble runs on unless paused
        scene.paused = paused ? 2 : 0;
        scene.fireLife = paused ? 0.0f : -50.0f;
        const auto before = seen();
        for (int pass = 0; pass < 5; ++pass) DrawFire();
        EXPECT_EQ(seen(), before) << (paused ? "paused" : "lowest life");
    }
}

// Renders the fire through OpenGL's feedback mode with an orthographic view
// of -4..4 on each axis over the 720 x 480 view; returns x, y, z (eye units),
// r, g, b, a of every triangle corner.
std::vector<std::array<float, 7>> FeedBackFire() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 4, -4, 4, -4, 4);
    glMatrixMode(GL_MODELVIEW);
    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    Fire().RenderFire();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<std::array<float, 7>> vertices;
    for (GLint i = 0; i < used && buffer[i] == GL_POLYGON_TOKEN && buffer[i + 1] == 3; i += 2 + 3 * 7)
        for (const GLfloat* f = &buffer[i + 2]; f < &buffer[i + 2 + 3 * 7]; f += 7)
            // 90 x 60 pixels an eye unit; window depth 0..1 maps back to eye z 4..-4.
            vertices.push_back({f[0] / 90 - 4, f[1] / 60 - 4, 4 - f[2] * 8, f[3], f[4], f[5], f[6]});
    return vertices;
}

// Turned, the quad still faces the camera: all its corners at one depth.
// Seen straight on, the stretches pull the corners out (9 makes one unit) and
// the zoom brings the quad a quarter of it nearer; both act along the
// object's own axes, so the turned quad is drawn without them.
TEST_F(FireTest, QuadsFaceTheCameraSpreadBySizeAndStretchesDarkenedByAge) {
    Particle(0) = {{0.5f, 0.25f, -1.0f}, {}, {}, {0.5f, 0.4f, 0.1f}, 300, true};
    glLoadIdentity();
    glRotatef(40, 1, 1, 0);
    const auto turned = FeedBackFire();
    for (const auto& v : turned) EXPECT_NEAR(v[2], turned[0][2], 1e-3f) << "turned";
    glLoadIdentity();
    scene.fireStretchLeft = scene.fireStretchUp = 9.0f;
    scene.fireStretchRight = 4.5f, scene.fireStretchDown = 18.0f, scene.fireZoom = 2.0f;
    const float top = 0.011f * 0.02f + 0.61f, bottom = 0.015f * 0.02f + 0.61f;
    const float corners[4][2] = {{0.5f - top - 1, 0.25f + top}, {0.5f - bottom + 0.5f, 0.25f - bottom},
                                 {0.5f + top, 0.25f + top + 1}, {0.5f + bottom, 0.25f - bottom - 2}};
    const auto vertices = FeedBackFire();
    ASSERT_EQ(vertices.size(), 6u) << "one strip of two triangles";
    for (const auto& [x, y] : corners)
        EXPECT_TRUE(std::any_of(vertices.begin(), vertices.end(), [&](const auto& v) {
            return std::fabs(v[0] - x) < 2e-3f && std::fabs(v[1] - y) < 2e-3f && std::fabs(v[2] + 0.5f) < 2e-3f;
        })) << x << ", " << y;
    // Age 300 takes 0.3 off each channel (clamped at 0); always half opaque.
    for (const auto& v : vertices)
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(v[3 + k], (std::array{0.2f, 0.1f, 0.0f, 0.5f})[k], 1e-3f);
}

}  // namespace
}  // namespace quorbel
