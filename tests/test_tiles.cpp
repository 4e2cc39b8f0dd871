// The tile layers: drift and pans, the two blends, the zoom depth and the
// texture error path.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "effect_gl_helpers.h"
#include "effects/tiles.h"
#include "support/scripted_platform.h"

namespace quorbel {
namespace {

constexpr float kTolerance = 1e-5f;

// Both layers draw one plain white texture, so pixels show tint and blend.
class Tiles : public testing::EffectTest {
protected:
    void SetUp() override {
        EffectTest::SetUp();
        scene.tilesShown = 2;
        scene.tileTexture1() = scene.tileTexture2 = testing::MakeSolidTexture(255, 255, 255);
        scene.tile1CustomTex = scene.tile2CustomTex = 2;
    }
};

// With both layers shown the pan test below sees the drift.
TEST_F(Tiles, DriftRunsOnlyWhileLayerOneIsDrawn) {
    struct Case { const char* what; int layerOne, layerTwo; float u1PerFrame, u2PerFrame; };
    const Case cases[] = {{"layer two alone", 0, 2, 0.0f, 0.0f}, {"layer one alone", 2, 0, 0.0005f, -0.0005f}};
    for (const auto& c : cases) {
        scene.tile1U = scene.tile2U = 0.0f;
        scene.tile1Shown = c.layerOne;
        scene.tile2Shown = c.layerTwo;
        Frames(10);
        EXPECT_NEAR(scene.tile1U, 10 * c.u1PerFrame, kTolerance) << c.what;
        EXPECT_NEAR(scene.tile2U, 10 * c.u2PerFrame, kTolerance) << c.what;
    }
}

TEST_F(Tiles, PansMoveEachLayerOnlyWhilePanningIsOn) {
    // Layer one's speeds: up 10, down 20, right 30, left 40, each x 0.00025 a
    // frame; layer two's are twice as fast. Panning also stops the drift.
    struct Case { int panV, panU; float duPerFrame, dvPerFrame; };
    const Case cases[] = {{2, 0, 0.0f, 0.0025f}, {4, 0, 0.0f, -0.005f}, {6, 0, 0.0f, -0.005f}, {3, 1, 0.0f, 0.0f},
                          {0, 2, 0.0075f, 0.0f}, {0, 4, -0.01f, 0.0f},  {2, 4, -0.01f, 0.0025f}};
    scene.tile1PanUpSpeed = 10.0f, scene.tile2PanUpSpeed = 20.0f;
    scene.tile1PanDownSpeed = 20.0f, scene.tile2PanDownSpeed = 40.0f;
    scene.tile1PanRightSpeed = 30.0f, scene.tile2PanRightSpeed = 60.0f;
    scene.tile1PanLeftSpeed = 40.0f, scene.tile2PanLeftSpeed = 80.0f;
    for (const auto& c : cases)
        for (bool panOn : {true, false}) {
            SCOPED_TRACE(::testing::Message() << "V " << c.panV << " U " << c.panU << " pan on " << panOn);
            scene.tilePanOn = panOn ? 2 : 0;
            scene.tile1U = scene.tile1V = scene.tile2U = scene.tile2V = 0.0f;
            scene.tile1PanV = scene.tile2PanV = c.panV;
            scene.tile1PanU = scene.tile2PanU = c.panU;
            Frames(4);
            // Without the pan switch only the drift moves.
            EXPECT_NEAR(scene.tile1U, panOn ? 4 * c.duPerFrame : 0.002f, kTolerance);
            EXPECT_NEAR(scene.tile2U, panOn ? 8 * c.duPerFrame : -0.002f, kTolerance);
            EXPECT_NEAR(scene.tile1V, panOn ? 4 * c.dvPerFrame : 0.0f, kTolerance);
            EXPECT_NEAR(scene.tile2V, panOn ? 8 * c.dvPerFrame : 0.0f, kTolerance);
        }
}

TEST_F(Tiles, TransparentLayersAddAndAnOpaqueLayerMultiplies) {
    // Over a grey background (51), layer one tinted (200, 100, 50); layer two
    // tinted (128, 255, 64) when opaque, (0, 50, 100) when transparent.
    struct Case { const char* what; int oneTransparent, twoShown, twoTransparent; std::uint32_t twoTint; int r, g, b; };
    const Case cases[] = {{"opaque layer one replaces the background", 0, 0, 0, 0, 200, 100, 50},
                          {"transparent layer one adds", 2, 0, 0, 0, 251, 151, 101},
                          {"opaque layer two multiplies", 2, 2, 0, 0x0040ff80, 251 * 128 / 255, 151, 101 * 64 / 255},
                          {"transparent layer two adds", 2, 2, 2, 0x00643200, 251, 201, 201}};
    scene.clearRed = scene.clearGreen = scene.clearBlue = 0.2f;
    scene.tile1TintOn = scene.tile2TintOn = 2;
    scene.tile1Tint = 0x003264c8;
    for (const auto& c : cases) {
        scene.tile1Transparent = c.oneTransparent;
        scene.tile2Shown = c.twoShown;
        scene.tile2Transparent = c.twoTransparent;
        scene.tile2Tint = c.twoTint;
        Capture(2);
        EXPECT_TRUE(testing::RgbNear(Pixel(Width() / 2, Height() / 2), c.r, c.g, c.b)) << c.what;
    }
}

TEST_F(Tiles, ZoomPushesTheQuadBackFromTheNearPlane) {
    // At depth 10.1 the 4.2-unit quad spans 4.2 / (2 x 10.1 x tan 22.5) of
    // the 480-pixel height: 241 pixels, and as much across. Turned by an
    // eighth of a turn its diagonal, 341 pixels, lies along the row.
    struct Case { float zoom, angle; int litAcross; };  // slider position - 100; turns
    const Case cases[] = {{0.0f, 0.0f, 720}, {-100.0f, 0.0f, 241}, {-100.0f, 0.125f, 341}, {-50.0f, 0.0f, 477}};
    scene.tile2Shown = 0;
    scene.paused = 2;
    scene.tile1Red = scene.tile1Green = scene.tile1Blue = 1.0f;  // the untinted layer keeps this colour
    for (const auto& c : cases) {
        scene.tile1Zoom = c.zoom;
        scene.tile1Angle = c.angle;
        Capture(2);
        int lit = 0;
        for (int x = 0; x < Width(); ++x) lit += Pixel(x, Height() / 2).r > 16;
        EXPECT_NEAR(lit, c.litAcross, 3) << "zoom " << c.zoom << " angle " << c.angle;
    }
}

TEST_F(Tiles, PendingErrorIsTakenAsARejectedTexture) {
    ScopedScriptedPlatform platform;
    scene.tile1Shown = 0;
    testing::RaiseGlError();
    DrawTileLayer1();
    EXPECT_TRUE(platform->messages.empty()) << "a hidden layer reads no error";
    scene.tile1Shown = 2;
    DrawTileLayer1();  // the error is still pending
    EXPECT_EQ(testing::BoundTexture(), scene.tileTexturesA[0]);
    DrawTileLayer2();
    EXPECT_EQ(testing::BoundTexture(), scene.tileTexturesB[3]) << "layer one's failure covers both layers";
    EXPECT_EQ(platform->messages.size(), 1u) << "the error was read once";

    scene.tile1TexFallback = scene.tile2TexFallback = 0;
    testing::RaiseGlError();
    DrawTileLayer2();
    EXPECT_EQ(platform->messages.size(), 2u);
    EXPECT_EQ(std::pair(scene.tile1TexFallback, scene.tile2TexFallback), std::pair(0, 2)) << "layer two's own only";
}

// The tiles read any pending error, so every effect drawn before them in a
// frame (and at the end of the one before) must leave none behind.
TEST_F(Tiles, BusyFramesLeaveNoStrayErrorForTheTiles) {
    ScopedScriptedPlatform platform;
    scene.fireShown = scene.particlesShown = scene.tunnelShown = scene.tunnelRebuildPending = 2;
    scene.starsHidden = scene.textHidden = 0;
    for (auto [radialBlur, motionBlur] : {std::pair{0, 0}, {2, 0}, {0, 2}}) {
        scene.radialBlurOn = radialBlur;
        scene.motionBlurOn = motionBlur;
        scene.blurActive = radialBlur + motionBlur > 0 ? 2 : 0;
        Frames(4);
        EXPECT_TRUE(platform->messages.empty()) << "radial " << radialBlur << " motion " << motionBlur;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
}  // namespace quorbel
