// The fire: births per pass, aging and death, the aging step from the life
// slider, colour rotation, pause, the emission point, camera-facing quads,
// and a fire that could not be made.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "effects/fire.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

FireSystem& Fire() { return *TheFireSystem(); }

int AliveCount() {
    int alive = 0;
    for (int i = 0; i < Fire().particleTotal; ++i) alive += Fire().particleList[i].alive ? 1 : 0;
    return alive;
}

std::vector<FireParticle> Snapshot() {
    return {Fire().particleList, Fire().particleList + Fire().particleTotal};
}

void ExpectSameParticles(const std::vector<FireParticle>& a, const std::vector<FireParticle>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].alive, b[i].alive) << i;
        EXPECT_EQ(a[i].age, b[i].age) << i;
        EXPECT_EQ(a[i].position.x, b[i].position.x) << i;
        EXPECT_EQ(a[i].position.y, b[i].position.y) << i;
        EXPECT_EQ(a[i].position.z, b[i].position.z) << i;
    }
}

class FireTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine_ = testing::FreshScene();
        ASSERT_NE(engine_, nullptr);
        CreateFireSystem();
        ASSERT_NE(TheFireSystem(), nullptr);
        scene.paused = 0;
        glMatrixMode(GL_MODELVIEW);
    }
    HeadlessEngine* engine_ = nullptr;
};

// ----- the object ---------------------------------------------------------------------

TEST_F(FireTest, StartsWith300DeadParticles) {
    EXPECT_EQ(Fire().particleTotal, 300);
    EXPECT_EQ(AliveCount(), 0);
}

TEST_F(FireTest, AFireThatCannotBeMadeIsAbsentAndDrawsNothing) {
    for (std::int32_t total : {0, -3}) {
        CreateFireSystem(total);
        EXPECT_EQ(TheFireSystem(), nullptr) << total;
        scene.fireX = 1.0f;
        DrawFire();
        EXPECT_EQ(scene.fireEmitX, 0.2f) << "nothing moves";
        EXPECT_EQ(scene.fireWobbleTimeX, 0.0f);
    }
    CreateFireSystem();
    EXPECT_NE(TheFireSystem(), nullptr);
}

TEST_F(FireTest, InitOutsideTheListIsIgnored) {
    Fire().InitFireParticle(-1);
    Fire().InitFireParticle(300);
    EXPECT_EQ(AliveCount(), 0);
}

// ----- births, aging and death -------------------------------------------------------

TEST_F(FireTest, BirthsPerPassAreAtMostStepDivTenRoundedUp) {
    struct Case {
        std::int32_t step;
        int births;
    };
    for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{9, 1}, Case{10, 1}, Case{11, 2}, Case{54, 6},
                          Case{59, 6}, Case{108, 11}, Case{5000, 300}, Case{-20, 0}}) {
        Fire().KillAll();
        Fire().UpdateFire(c.step);
        EXPECT_EQ(AliveCount(), c.births) << "step " << c.step;
    }
}

TEST_F(FireTest, LifeSliderSetsTheAgingStep) {
    struct Case {
        float life;
        std::int32_t step;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const Case& c : {Case{-50, 0}, Case{0, 54}, Case{5, 59}, Case{50, 108}, Case{-100, 0}, Case{nan, 0},
                          Case{1e30f, 1000000}})
        EXPECT_EQ(FireStepForLife(c.life), c.step) << c.life;
}

TEST_F(FireTest, AliveParticlesMoveByVelocityTimesStepAndAge) {
    FireParticle& particle = Fire().particleList[0];
    particle.alive = true;
    particle.age = 100;
    particle.position = {1.0f, 2.0f, 0.0f};
    particle.velocity = {0.001f, 0.002f, -0.0005f};
    Fire().UpdateFire(50);
    EXPECT_FLOAT_EQ(particle.position.x, 1.05f);
    EXPECT_FLOAT_EQ(particle.position.y, 2.1f);
    EXPECT_FLOAT_EQ(particle.position.z, -0.025f);
    EXPECT_EQ(particle.age, 150);
}

TEST_F(FireTest, ParticleDiesInThePassThatFindsItAbove1000) {
    Fire().particleList[0].alive = true;
    Fire().particleList[0].age = 1001;
    Fire().particleList[1].alive = true;
    Fire().particleList[1].age = 1000;
    Fire().UpdateFire(10);
    EXPECT_FALSE(Fire().particleList[0].alive) << "dead, and not reborn in the same pass";
    EXPECT_TRUE(Fire().particleList[1].alive);
    EXPECT_EQ(Fire().particleList[1].age, 1010);
    EXPECT_TRUE(Fire().particleList[2].alive) << "the one birth goes to the first dead slot";
    EXPECT_EQ(Fire().particleList[2].age, 0);
    Fire().UpdateFire(10);
    EXPECT_TRUE(Fire().particleList[0].alive) << "a later pass refills the lowest slot";
    EXPECT_FALSE(Fire().particleList[1].alive);
}

TEST_F(FireTest, BirthVelocityIsScaledPerAxisWithDriftBias) {
    scene.fireDirX = 1.75f;  // times 0.00057142857: r x 0.001
    scene.fireDirY = 3.5f;
    scene.fireDirZ = 0.0f;
    for (int i = 0; i < 300; ++i) Fire().InitFireParticle(i);
    for (int i = 0; i < 300; ++i) {
        const FireParticle& particle = Fire().particleList[i];
        EXPECT_GE(particle.velocity.x, -0.0005f);
        EXPECT_LE(particle.velocity.x, 0.0005f);
        EXPECT_GE(particle.velocity.y, 0.0f);
        EXPECT_LE(particle.velocity.y, 0.002f);
        EXPECT_FLOAT_EQ(particle.velocity.z, -0.0005f);
        EXPECT_EQ(particle.acceleration.x, 0.0f);
    }
}

// ----- colour -----------------------------------------------------------------------------

TEST_F(FireTest, FixedColourIsTheSlidersPlusATenth) {
    scene.fireRed = 10.0f;
    scene.fireGreen = 20.0f;
    scene.fireBlue = 0.0f;
    Fire().InitFireParticle(0);
    EXPECT_FLOAT_EQ(Fire().particleList[0].colour[0], 0.3f);
    EXPECT_FLOAT_EQ(Fire().particleList[0].colour[1], 0.5f);
    EXPECT_FLOAT_EQ(Fire().particleList[0].colour[2], 0.1f);
    EXPECT_EQ(scene.fireRed, 10.0f) << "no rotation";
}

TEST_F(FireTest, ColourRotationClimbsPerBirthAndWrapsAt50) {
    struct Case {
        float channel, speed, colour, after;
    };
    const Case cases[] = {
        {10.0f, 0.0f, 0.2f, 10.01f},    // speed 0 still climbs by 0.01
        {49.995f, 0.0f, 0.9999f, 0.0f},  // reaching 50 wraps to 0
        {49.5f, 2.5f, 0.99f, 0.0f},      // 49.5 + 0.5 + 0.01
        {0.0f, 1.0f, 0.0f, 0.21f},
    };
    scene.fireColourRotate = 2;
    for (const Case& c : cases) {
        scene.fireRed = scene.fireGreen = scene.fireBlue = c.channel;
        scene.fireRotateSpeed = c.speed;
        Fire().InitFireParticle(0);
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_NEAR(Fire().particleList[0].colour[channel], c.colour, 1e-5f) << c.channel;
        EXPECT_NEAR(scene.fireRed, c.after, 1e-4f) << c.channel;
        EXPECT_NEAR(scene.fireGreen, c.after, 1e-4f) << c.channel;
        EXPECT_NEAR(scene.fireBlue, c.after, 1e-4f) << c.channel;
    }
}

TEST_F(FireTest, ColourRotatesOncePerBirthOfAPass) {
    scene.fireColourRotate = 2;
    Fire().UpdateFire(59);  // six births
    EXPECT_NEAR(scene.fireRed, 0.06f, 1e-5f);
}

// ----- the pass: emission point, freeze, pause ---------------------------------------

TEST_F(FireTest, EmissionPointIsThePositionPlusTheWobble) {
    scene.fireX = 1.0f;
    scene.fireY = 0.5f;
    DrawFire();
    EXPECT_FLOAT_EQ(scene.fireEmitX, 1.0f) << "no wobble at frequency 0";
    EXPECT_FLOAT_EQ(scene.fireEmitY, 0.5f);
    EXPECT_FLOAT_EQ(Fire().particleList[0].position.x, 1.0f);
    EXPECT_FLOAT_EQ(Fire().particleList[0].position.y, 0.5f);
    // Drawn after the same translation: born at twice the fire position.
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[12] + Fire().particleList[0].position.x, 2.0f);
    EXPECT_FLOAT_EQ(m[13] + Fire().particleList[0].position.y, 1.0f);
    EXPECT_FLOAT_EQ(m[14], -7.0f);

    scene.fireWobbleFreqX = 2.0f;
    scene.fireWobbleFreqY = 3.0f;
    scene.fireWobbleTimeX = 0.3f;
    scene.fireWobbleTimeY = 0.2f;
    DrawFire();
    EXPECT_NEAR(scene.fireEmitX, std::sin(0.3 * 2 * 0.628318) * 1.5 + 1.0, 1e-5);
    EXPECT_NEAR(scene.fireEmitY, std::sin(0.2 * 3 * 0.628318) * 1.5 + 0.5, 1e-5);
    EXPECT_FLOAT_EQ(scene.fireWobbleTimeX, 0.31f);
    EXPECT_FLOAT_EQ(scene.fireWobbleTimeY, 0.21f);
}

TEST_F(FireTest, LifeAtItsLowestFreezesTheFire) {
    for (int pass = 0; pass < 5; ++pass) DrawFire();
    ASSERT_EQ(AliveCount(), 30);
    scene.fireLife = -50.0f;
    const auto before = Snapshot();
    for (int pass = 0; pass < 5; ++pass) DrawFire();
    ExpectSameParticles(before, Snapshot());
}

TEST_F(FireTest, PausedFireIsDrawnFrozen) {
    scene.fireWobbleFreqX = 1.0f;
    for (int pass = 0; pass < 5; ++pass) DrawFire();
    scene.paused = 2;
    const auto before = Snapshot();
    const float emitX = scene.fireEmitX;
    const float time = scene.fireWobbleTimeX;
    for (int pass = 0; pass < 5; ++pass) DrawFire();
    ExpectSameParticles(before, Snapshot());
    EXPECT_EQ(scene.fireEmitX, emitX);
    EXPECT_EQ(scene.fireWobbleTimeX, time);
}

// ----- the quads, read back through OpenGL's feedback mode ---------------------------------

struct FedVertex {
    float x, y, z, r, g, b, a;
};

// Renders the fire with an orthographic projection of -4..4 on each axis and
// returns every vertex of every triangle, in eye units.
std::vector<FedVertex> FeedBackFire() {
    constexpr int kViewport = 800;
    std::vector<GLfloat> buffer(4096);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glViewport(0, 0, kViewport, kViewport);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-4, 4, -4, 4, -4, 4);
    glMatrixMode(GL_MODELVIEW);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    Fire().RenderFire();
    const GLint used = glRenderMode(GL_RENDER);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);

    std::vector<FedVertex> vertices;
    for (GLint i = 0; i < used;) {
        const auto token = static_cast<GLint>(buffer[i++]);
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        const auto count = static_cast<GLint>(buffer[i++]);
        for (GLint v = 0; v < count; ++v, i += 7) {
            const float* f = &buffer[i];
            const float scale = 8.0f / kViewport;
            // Window depth 0..1 maps back to eye z 4..-4.
            vertices.push_back({f[0] * scale - 4, f[1] * scale - 4, 4 - f[2] * 8, f[3], f[4], f[5], f[6]});
        }
    }
    return vertices;
}

bool HasVertex(const std::vector<FedVertex>& vertices, float x, float y, float z) {
    return std::any_of(vertices.begin(), vertices.end(), [&](const FedVertex& v) {
        return std::fabs(v.x - x) < 2e-3f && std::fabs(v.y - y) < 2e-3f && std::fabs(v.z - z) < 2e-3f;
    });
}

class FireQuads : public FireTest {
protected:
    void SetUp() override {
        FireTest::SetUp();
        glDisable(GL_LIGHTING);
        glDisable(GL_FOG);
        glLoadIdentity();
        FireParticle& particle = Fire().particleList[0];
        particle.alive = true;
        particle.position = {0.5f, 0.25f, -1.0f};
        particle.colour[0] = 0.5f;
        particle.colour[1] = 0.4f;
        particle.colour[2] = 0.1f;
        particle.age = 300;
    }
    const float top = 0.011f * 0.02f + 0.61f;
    const float bottom = 0.015f * 0.02f + 0.61f;
};

TEST_F(FireQuads, CornersSpreadByTheSizesAndPulledByTheStretches) {
    scene.fireStretchLeft = 9.0f;   // one unit
    scene.fireStretchRight = 4.5f;  // half a unit
    scene.fireStretchUp = 9.0f;
    scene.fireStretchDown = 18.0f;
    scene.fireZoom = 2.0f;  // half a unit nearer
    const auto vertices = FeedBackFire();
    ASSERT_EQ(vertices.size(), 6u) << "one strip of two triangles";
    const float z = -0.5f;
    EXPECT_TRUE(HasVertex(vertices, 0.5f - top - 1.0f, 0.25f + top, z)) << "top left";
    EXPECT_TRUE(HasVertex(vertices, 0.5f - bottom + 0.5f, 0.25f - bottom, z)) << "bottom left";
    EXPECT_TRUE(HasVertex(vertices, 0.5f + top, 0.25f + top + 1.0f, z)) << "top right";
    EXPECT_TRUE(HasVertex(vertices, 0.5f + bottom, 0.25f - bottom - 2.0f, z)) << "bottom right";
}

TEST_F(FireQuads, QuadsFaceTheCameraWhateverTheRotation) {
    glRotatef(30, 1, 0, 0);
    glRotatef(50, 0, 1, 0);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const FireParticle& particle = Fire().particleList[0];
    // The particle's centre in eye space.
    const float cx = m[0] * particle.position.x + m[4] * particle.position.y + m[8] * particle.position.z;
    const float cy = m[1] * particle.position.x + m[5] * particle.position.y + m[9] * particle.position.z;
    const float cz = m[2] * particle.position.x + m[6] * particle.position.y + m[10] * particle.position.z;
    const auto vertices = FeedBackFire();
    ASSERT_EQ(vertices.size(), 6u);
    EXPECT_TRUE(HasVertex(vertices, cx - top, cy + top, cz));
    EXPECT_TRUE(HasVertex(vertices, cx - bottom, cy - bottom, cz));
    EXPECT_TRUE(HasVertex(vertices, cx + top, cy + top, cz));
    EXPECT_TRUE(HasVertex(vertices, cx + bottom, cy - bottom, cz));
}

TEST_F(FireQuads, ColourDarkensWithAgeAtHalfOpacity) {
    const auto vertices = FeedBackFire();
    ASSERT_FALSE(vertices.empty());
    for (const FedVertex& v : vertices) {
        EXPECT_NEAR(v.r, 0.2f, 1e-3f);
        EXPECT_NEAR(v.g, 0.1f, 1e-3f);
        EXPECT_NEAR(v.b, 0.0f, 1e-3f) << "0.1 - 0.3 is clamped";
        EXPECT_NEAR(v.a, 0.5f, 1e-3f);
    }
}

TEST_F(FireQuads, DeadParticlesAreNotDrawnAndBlendingEndsOff) {
    Fire().KillAll();
    glDisable(GL_BLEND);
    EXPECT_TRUE(FeedBackFire().empty());
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(FireQuads, CustomSlotChoosesTheTexture) {
    GLuint names[2];
    glGenTextures(2, names);
    scene.fireTexture = names[0];
    scene.fireCustomTexture = names[1];
    for (int custom : {0, 2}) {
        scene.fireCustomTex = custom;
        Fire().RenderFire();
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), custom == 2 ? names[1] : names[0]);
    }
    glDeleteTextures(2, names);
}

// ----- what reaches the screen -----------------------------------------------------------

class FireFrames : public FireTest {
protected:
    // Horizontal centre of the lit pixels after `frames` frames of a fire at x.
    double FireCentreX(float fireX, int frames) {
        EXPECT_NE(testing::FreshScene(), nullptr);
        CreateFireSystem();
        scene.startupStage = 2;
        scene.textHidden = 2;
        scene.fireShown = 2;
        scene.fireX = fireX;
        std::srand(3);
        engine_->RenderFrames(frames);
        const auto rgb = engine_->ReadPixels();
        double weighted = 0, total = 0;
        for (int y = 0; y < engine_->height(); ++y)
            for (int x = 0; x < engine_->width(); ++x) {
                const auto p = testing::PixelAt(rgb, engine_->width(), x, y);
                const double brightness = p.r + p.g + p.b;
                weighted += brightness * x;
                total += brightness;
            }
        EXPECT_GT(total, 0.0) << "the fire lights the view";
        return total > 0 ? weighted / total : 0.0;
    }
};

TEST_F(FireFrames, MovingTheFireMovesItsParticlesTwiceAsFar) {
    const double atZero = FireCentreX(0.0f, 30);
    const double atOne = FireCentreX(1.0f, 30);
    // One unit at depth -7 in the 45-degree view is about 83 pixels across;
    // the fire moves by two units.
    EXPECT_NEAR(atOne - atZero, 166.0, 25.0);
}

}  // namespace
}  // namespace quorbel
