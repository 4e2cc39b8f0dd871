// The fire: births per pass, aging and death, the aging step from the life
// slider, colour rotation, freezing, the camera-facing
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
    // Each channel from its own slider.
    scene.fireColourRotate = 0;
    std::tie(scene.fireRed, scene.fireGreen, scene.fireBlue) = std::tuple(10.0f, 20.0f, 30.0f);
    Fire().InitFireParticle(0);
    EXPECT_NEAR(Particle(0).colour[0], 0.3f, 1e-4f);
    EXPECT_NEAR(Particle(0).colour[1], 0.5f, 1e-4f);
    EXPECT_NEAR(Particle(0).colour[2], 0.7f, 1e-4f);
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

// The fire drawn alone over black, untextured, with an orthographic view of
// -4..4 on each axis over the 720 x 480 view (90 x 60 pixels an eye unit,
// window depth 0..1 for eye z 4..-4), each fragment's colour times its
// alpha, and its depth kept whatever it is.
class FirePicture {
public:
    FirePicture() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-4, 4, -4, 4, -4, 4);
        glMatrixMode(GL_MODELVIEW);
        glClearColor(0, 0, 0, 0);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_ALWAYS);
        glBlendFunc(GL_SRC_ALPHA, GL_ZERO);
        Fire().RenderFire();
        glDisable(GL_DEPTH_TEST);
        rgb_.resize(3 * kWidth * kHeight);
        depth_.resize(kWidth * kHeight);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb_.data());
        glReadPixels(0, 0, kWidth, kHeight, GL_DEPTH_COMPONENT, GL_FLOAT, depth_.data());
    }
    // At eye x, y; the pixels outside the view are black.
    testing::Rgb At(float x, float y) const {
        const int column = static_cast<int>((x + 4) * 90), row = static_cast<int>((y + 4) * 60);
        if (column < 0 || column >= kWidth || row < 0 || row >= kHeight) return {};
        const std::uint8_t* p = &rgb_[3 * (static_cast<std::size_t>(row) * kWidth + column)];
        return {p[0], p[1], p[2]};
    }
    bool Drawn(float x, float y) const { return At(x, y).r > 0; }
    // The smallest and largest depth where something was drawn.
    std::pair<float, float> DepthRange() const {
        float low = 2, high = -1;
        for (std::size_t i = 0; i < depth_.size(); ++i)
            if (rgb_[3 * i] > 0) low = std::min(low, depth_[i]), high = std::max(high, depth_[i]);
        return {low, high};
    }

private:
    static constexpr int kWidth = 720, kHeight = 480;
    std::vector<std::uint8_t> rgb_;
    std::vector<float> depth_;
};

// How far (in pixels) the point is inside triangle a, b, c: negative outside.
float DepthInside(const float (&a)[2], const float (&b)[2], const float (&c)[2], float x, float y) {
    const float* corners[3] = {a, b, c};
    float inside = 1e9f;
    float orientation = (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
    for (int i = 0; i < 3; ++i) {
        const float* from = corners[i];
        const float* to = corners[(i + 1) % 3];
        // Pixels, not eye units, so that the margin means the same both ways.
        const float dx = (to[0] - from[0]) * 90, dy = (to[1] - from[1]) * 60;
        const float px = (x - from[0]) * 90, py = (y - from[1]) * 60;
        const float distance = (dx * py - dy * px) / std::hypot(dx, dy);
        inside = std::min(inside, orientation > 0 ? distance : -distance);
    }
    return inside;
}

// Turned, the quad still faces the camera: all of it at one depth.
// Seen straight on, the stretches pull the corners out (9 makes one unit) and
// the zoom brings the quad a quarter of it nearer; both act along the
// object's own axes, so the turned quad is drawn without them. The strip's
// two triangles must cover every pixel more than one and a half pixels
// inside them and none more than that outside.
TEST_F(FireTest, QuadsFaceTheCameraSpreadBySizeAndStretchesDarkenedByAge) {
    Particle(0) = {{0.5f, 0.25f, -1.0f}, {}, {}, {0.5f, 0.4f, 0.1f}, 300, true};
    glLoadIdentity();
    glRotatef(40, 1, 1, 0);
    const auto [nearest, farthest] = FirePicture().DepthRange();
    ASSERT_LE(nearest, farthest) << "the turned quad was drawn";
    EXPECT_NEAR(nearest, farthest, 2e-4f) << "turned";
    glLoadIdentity();
    scene.fireStretchLeft = scene.fireStretchUp = 9.0f;
    scene.fireStretchRight = 4.5f, scene.fireStretchDown = 18.0f, scene.fireZoom = 2.0f;
    const float top = 0.011f * 0.02f + 0.61f, bottom = 0.015f * 0.02f + 0.61f;
    const float topLeft[2] = {0.5f - top - 1, 0.25f + top}, bottomLeft[2] = {0.5f - bottom + 0.5f, 0.25f - bottom};
    const float topRight[2] = {0.5f + top, 0.25f + top + 1}, bottomRight[2] = {0.5f + bottom, 0.25f - bottom - 2};
    const FirePicture picture;
    int wrong = 0;
    for (int row = 0; row < 480; ++row)
        for (int column = 0; column < 720; ++column) {
            const float x = (column + 0.5f) / 90 - 4, y = (row + 0.5f) / 60 - 4;
            const float inside = std::max(DepthInside(topLeft, bottomLeft, topRight, x, y),
                                          DepthInside(bottomLeft, topRight, bottomRight, x, y));
            if (std::fabs(inside) > 1.5f && picture.Drawn(x, y) != (inside > 0)) ++wrong;
        }
    EXPECT_EQ(wrong, 0) << "pixels drawn where the strip is not, or not drawn where it is";
    // Eye z -0.5: the particle's -1 brought half a unit nearer.
    const auto [low, high] = picture.DepthRange();
    EXPECT_NEAR(low, 0.5625f, 2e-4f);
    EXPECT_NEAR(high, 0.5625f, 2e-4f);
    // Age 300 takes 0.3 off each channel (clamped at 0); always half opaque.
    EXPECT_TRUE(testing::RgbNear(picture.At(1.0f, 0.0f), 26, 13, 0, 1));
}

}  // namespace
}  // namespace quorbel
