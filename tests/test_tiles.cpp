// The tile layers: drift and pans, rotation, tint, the two blends, the zoom
// depth and the texture error path.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "effects/tiles.h"
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

constexpr float kTolerance = 1e-5f;

class Tiles : public ::testing::Test {
protected:
    void SetUp() override {
        engine_ = testing::FreshScene();
        ASSERT_TRUE(engine_);
        ASSERT_TRUE(glIsTexture(scene.baseTextures[2])) << "the default pictures in Data/ and gfx/ are missing";
        scene.startupStage = 2;
        scene.textHidden = 2;
        scene.tilesShown = 2;
        DrainGlErrors();
    }
    static void Frames(int count) {
        for (int i = 0; i < count; ++i) RenderScene();
    }
    // Both layers draw one plain white texture, so pixels show tint and blend.
    static void PlainWhiteTextures() {
        GLuint white = MakeSolidTexture(255, 255, 255);
        scene.tileTexture1() = white;
        scene.tileTexture2 = white;
        scene.tile1CustomTex = scene.tile2CustomTex = 2;
    }
    static void Tint(std::int32_t SceneState::*on, std::uint32_t SceneState::*tint, std::uint32_t colour) {
        scene.*on = 2;
        scene.*tint = colour;
    }
    testing::Rgb Centre() const {
        return testing::PixelAt(engine_->ReadPixels(), engine_->width(), engine_->width() / 2, engine_->height() / 2);
    }
    // Lit pixels along the middle row.
    int LitAcrossMiddleRow() const {
        auto rgb = engine_->ReadPixels();
        int lit = 0;
        for (int x = 0; x < engine_->width(); ++x) {
            auto p = testing::PixelAt(rgb, engine_->width(), x, engine_->height() / 2);
            if (p.r + p.g + p.b > 48) ++lit;
        }
        return lit;
    }
    HeadlessEngine* engine_ = nullptr;
};

// ----- texture motion -------------------------------------------------------------

struct DriftCase {
    const char* what;
    int layerOne, layerTwo, panOn;
    float u1PerFrame, u2PerFrame;
};

TEST_F(Tiles, DriftRunsOnlyWhileLayerOneIsDrawnAndNoPanIsSet) {
    const DriftCase cases[] = {
        {"both layers", 2, 2, 0, 0.0005f, -0.0005f},
        {"layer two alone", 0, 2, 0, 0.0f, 0.0f},
        {"layer one alone drifts both", 2, 0, 0, 0.0005f, -0.0005f},
        {"pan switched on", 2, 2, 2, 0.0f, 0.0f},
    };
    for (const auto& c : cases) {
        scene.tile1U = scene.tile2U = 0.0f;
        scene.tile1Shown = c.layerOne;
        scene.tile2Shown = c.layerTwo;
        scene.tilePanOn = c.panOn;
        Frames(10);
        EXPECT_NEAR(scene.tile1U, 10 * c.u1PerFrame, kTolerance) << c.what;
        EXPECT_NEAR(scene.tile2U, 10 * c.u2PerFrame, kTolerance) << c.what;
        EXPECT_EQ(scene.tile1V, 0.0f) << c.what;
    }
}

TEST_F(Tiles, NothingMovesWhileTheTilesAreOff) {
    scene.tilesShown = 0;
    scene.tile1RotDir = 2;
    scene.tile1RotSpeed = 10.0f;
    Frames(3);
    EXPECT_EQ(scene.tile1U, 0.0f);
    EXPECT_EQ(scene.tile1Angle, 0.0f);
}

struct PanCase {
    int panV, panU;
    float duPerFrame, dvPerFrame;
};

// Speeds: up 10, down 20, right 30, left 40, each x 0.00025 per frame.
const PanCase kPanCases[] = {
    {2, 0, 0.0f, 0.0025f},    {4, 0, 0.0f, -0.005f},   {6, 0, 0.0f, -0.005f}, {3, 0, 0.0f, 0.0f},
    {0, 2, 0.0075f, 0.0f},    {0, 4, -0.01f, 0.0f},    {0, 1, 0.0f, 0.0f},    {2, 4, -0.01f, 0.0025f},
};

struct LayerFields {
    const char* name;
    std::int32_t SceneState::*panV;
    std::int32_t SceneState::*panU;
    float SceneState::*up;
    float SceneState::*down;
    float SceneState::*right;
    float SceneState::*left;
    float SceneState::*u;
    float SceneState::*v;
};

const LayerFields kLayers[] = {
    {"layer one", &SceneState::tile1PanV, &SceneState::tile1PanU, &SceneState::tile1PanUpSpeed,
     &SceneState::tile1PanDownSpeed, &SceneState::tile1PanRightSpeed, &SceneState::tile1PanLeftSpeed,
     &SceneState::tile1U, &SceneState::tile1V},
    {"layer two", &SceneState::tile2PanV, &SceneState::tile2PanU, &SceneState::tile2PanUpSpeed,
     &SceneState::tile2PanDownSpeed, &SceneState::tile2PanRightSpeed, &SceneState::tile2PanLeftSpeed,
     &SceneState::tile2U, &SceneState::tile2V},
};

void SetPan(const LayerFields& layer, const PanCase& c) {
    scene.*layer.u = scene.*layer.v = 0.0f;
    scene.*layer.panV = c.panV;
    scene.*layer.panU = c.panU;
    scene.*layer.up = 10.0f;
    scene.*layer.down = 20.0f;
    scene.*layer.right = 30.0f;
    scene.*layer.left = 40.0f;
}

TEST_F(Tiles, PanDirectionsApplyOnlyWhilePanningIsOn) {
    for (const auto& layer : kLayers)
        for (const auto& c : kPanCases) {
            SCOPED_TRACE(::testing::Message() << layer.name << " V " << c.panV << " U " << c.panU);
            scene.tilePanOn = 2;
            SetPan(layer, c);
            Frames(4);
            EXPECT_NEAR(scene.*layer.u, 4 * c.duPerFrame, kTolerance);
            EXPECT_NEAR(scene.*layer.v, 4 * c.dvPerFrame, kTolerance);

            scene.tilePanOn = 0;
            SetPan(layer, c);
            scene.tile1U = scene.tile2U = 0.0f;
            Frames(4);
            EXPECT_EQ(scene.*layer.v, 0.0f) << "no pan without the pan switch";
            EXPECT_NEAR(scene.*layer.u, layer.u == &SceneState::tile1U ? 0.002f : -0.002f, kTolerance)
                << "only the drift";
        }
}

struct RotationCase {
    int dir;
    float perFrame;
};

TEST_F(Tiles, RotationStepsInTurns) {
    const RotationCase cases[] = {{2, 0.005f}, {4, -0.005f}, {7, -0.005f}, {3, 0.0f}, {0, 0.0f}};
    for (const auto& c : cases) {
        scene.tile1Angle = scene.tile2Angle = 0.0f;
        scene.tile1RotDir = scene.tile2RotDir = c.dir;
        scene.tile1RotSpeed = 50.0f;
        scene.tile2RotSpeed = 100.0f;
        Frames(3);
        EXPECT_NEAR(scene.tile1Angle, 3 * c.perFrame, kTolerance) << "direction " << c.dir;
        EXPECT_NEAR(scene.tile2Angle, 6 * c.perFrame, kTolerance) << "direction " << c.dir;
    }
}

TEST_F(Tiles, PauseHoldsRotationDriftAndPan) {
    scene.paused = 2;
    scene.tile1RotDir = 2;
    scene.tile1RotSpeed = 50.0f;
    Frames(3);
    EXPECT_EQ(scene.tile1Angle, 0.0f);
    EXPECT_EQ(scene.tile1U, 0.0f);
    EXPECT_EQ(scene.tile2U, 0.0f);
}

TEST_F(Tiles, TunnelDoublesTheTileMotion) {
    scene.tunnelShown = 2;
    scene.tunnelRebuildPending = 2;
    scene.tile1RotDir = 2;
    scene.tile1RotSpeed = 50.0f;
    Frames(3);
    EXPECT_NEAR(scene.tile1U, 6 * 0.0005f, kTolerance);
    EXPECT_NEAR(scene.tile2U, -6 * 0.0005f, kTolerance);
    EXPECT_NEAR(scene.tile1Angle, 6 * 0.005f, kTolerance);
}

// ----- tint and state -----------------------------------------------------------

TEST_F(Tiles, TintSplitsTheReferenceAndIsKeptWhenSwitchedOff) {
    Tint(&SceneState::tile2TintOn, &SceneState::tile2Tint, 0x00336699);
    DrawTileLayer2();
    EXPECT_NEAR(scene.tile2Red, 0.6f, kTolerance);
    EXPECT_NEAR(scene.tile2Green, 0.4f, kTolerance);
    EXPECT_NEAR(scene.tile2Blue, 0.2f, kTolerance);
    EXPECT_EQ(scene.tile1Red, 0.0f) << "each layer its own tint";

    // A colour from a settings file stays while the tint is off.
    scene.tile1Red = 0.25f;
    scene.tile1Tint = 0x00ffffff;
    DrawTileLayer1();
    EXPECT_EQ(scene.tile1Red, 0.25f);
}

TEST_F(Tiles, EachLayerLeavesTheMultiplyingBlend) {
    for (void (*draw)() : {DrawTileLayer1, DrawTileLayer2}) {
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        glBlendFunc(GL_ONE, GL_ONE);
        draw();
        GLint source = 0, destination = 0;
        glGetIntegerv(GL_BLEND_SRC, &source);
        glGetIntegerv(GL_BLEND_DST, &destination);
        EXPECT_TRUE(glIsEnabled(GL_BLEND));
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_EQ(source, GL_DST_COLOR);
        EXPECT_EQ(destination, GL_ZERO);
        float colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_GE(colour[0], 1.0f);
        EXPECT_GE(colour[2], 1.0f);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Tiles, HiddenLayerDoesNothing) {
    scene.tile1Shown = 0;
    Tint(&SceneState::tile1TintOn, &SceneState::tile1Tint, 0x00ffffff);
    glDisable(GL_BLEND);
    DrawTileLayer1();
    EXPECT_EQ(scene.tile1Red, 0.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

// ----- pixels ----------------------------------------------------------------------

TEST_F(Tiles, TransparentLayerAddsAndOpaqueLayerTwoMultiplies) {
    PlainWhiteTextures();
    scene.clearRed = scene.clearGreen = scene.clearBlue = 0.2f;  // 51
    Tint(&SceneState::tile1TintOn, &SceneState::tile1Tint, 0x003264c8);  // (200, 100, 50)
    scene.tile2Shown = 0;
    Frames(2);
    auto added = Centre();
    EXPECT_NEAR(added.r, 251, 2);
    EXPECT_NEAR(added.g, 151, 2);
    EXPECT_NEAR(added.b, 101, 2);

    scene.tile2Shown = 2;
    scene.tile2Transparent = 0;
    Tint(&SceneState::tile2TintOn, &SceneState::tile2Tint, 0x0040ff80);  // (128, 255, 64)
    Frames(1);
    auto multiplied = Centre();
    EXPECT_NEAR(multiplied.r, 251 * 128 / 255, 2);
    EXPECT_NEAR(multiplied.g, 151, 2);
    EXPECT_NEAR(multiplied.b, 101 * 64 / 255, 2);

    scene.tile2Transparent = 2;
    Tint(&SceneState::tile2TintOn, &SceneState::tile2Tint, 0x00643200);  // (0, 50, 100)
    Frames(1);
    auto bothAdded = Centre();
    EXPECT_NEAR(bothAdded.r, 251, 2);
    EXPECT_NEAR(bothAdded.g, 201, 2);
    EXPECT_NEAR(bothAdded.b, 201, 2);
}

TEST_F(Tiles, OpaqueLayerOneReplacesTheBackground) {
    // The text pass leaves blending off, which an opaque layer one finds.
    PlainWhiteTextures();
    scene.clearRed = scene.clearGreen = scene.clearBlue = 0.2f;
    scene.tile1Transparent = 0;
    scene.tile2Shown = 0;
    Tint(&SceneState::tile1TintOn, &SceneState::tile1Tint, 0x003264c8);
    Frames(2);
    auto centre = Centre();
    EXPECT_NEAR(centre.r, 200, 2);
    EXPECT_NEAR(centre.g, 100, 2);
    EXPECT_NEAR(centre.b, 50, 2);
}

struct ZoomCase {
    float zoom;   // slider position - 100
    float angle;  // turns
    int litAcross;
};

TEST_F(Tiles, ZoomPushesTheQuadBackFromTheNearPlane) {
    // At depth 10.1 the 4.2-unit quad spans 4.2 / (2 x 10.1 x tan 22.5) of
    // the 480-pixel height: 241 pixels, and as much across. Turned by an
    // eighth of a turn its diagonal, 341 pixels, lies along the row.
    const ZoomCase cases[] = {
        {0.0f, 0.0f, 720},       // slider 100: at the near plane, filling the view
        {-100.0f, 0.0f, 241},    // slider 0: depth 10.1
        {-100.0f, 0.125f, 341},  // the same, turned 45 degrees
        {-50.0f, 0.0f, 477},     // slider 50: depth 5.1
    };
    PlainWhiteTextures();
    scene.tile2Shown = 0;
    scene.paused = 2;
    Tint(&SceneState::tile1TintOn, &SceneState::tile1Tint, 0x00ffffff);
    for (const auto& c : cases) {
        scene.tile1Zoom = c.zoom;
        scene.tile1Angle = c.angle;
        Frames(2);
        EXPECT_NEAR(LitAcrossMiddleRow(), c.litAcross, 3) << "zoom " << c.zoom << " angle " << c.angle;
    }
}

// ----- textures --------------------------------------------------------------------

struct TextureCase {
    int customTex, fallback;
    bool slot;
};

TEST_F(Tiles, TextureRulesOfBothLayers) {
    const GLuint slotOne = MakeSolidTexture(255, 0, 0);
    const GLuint slotTwo = MakeSolidTexture(0, 255, 0);
    // Layer one's slot is in use from 2 up; layer two's only at exactly 2.
    const TextureCase layerOne[] = {{2, 0, true}, {3, 1, true}, {2, 2, false}, {0, 0, false}, {1, 0, false}};
    const TextureCase layerTwo[] = {{2, 0, true}, {2, 1, true}, {3, 0, false}, {2, 2, false}, {0, 0, false}};
    for (const auto& c : layerOne) {
        scene.tileTexture1() = slotOne;
        scene.tile1CustomTex = c.customTex;
        scene.tile1TexFallback = c.fallback;
        DrawTileLayer1();
        EXPECT_EQ(BoundTexture(), c.slot ? slotOne : scene.tileTexturesA[0])
            << "layer one custom " << c.customTex << " fallback " << c.fallback;
    }
    for (const auto& c : layerTwo) {
        scene.tileTexture2 = slotTwo;
        scene.tile2CustomTex = c.customTex;
        scene.tile2TexFallback = c.fallback;
        DrawTileLayer2();
        EXPECT_EQ(BoundTexture(), c.slot ? slotTwo : scene.tileTexturesB[3])
            << "layer two custom " << c.customTex << " fallback " << c.fallback;
    }
}

TEST_F(Tiles, PendingErrorIsTakenAsARejectedTexture) {
    ScopedScriptedPlatform platform;
    PlainWhiteTextures();
    RaiseGlError();
    DrawTileLayer1();
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text, kUnableToLoadTextureMessage);
    EXPECT_EQ(scene.tile1TexFallback, 2);
    EXPECT_EQ(scene.tile2TexFallback, 2) << "layer one's failure covers both layers";
    EXPECT_EQ(BoundTexture(), scene.tileTexturesA[0]);

    DrawTileLayer1();
    DrawTileLayer2();
    EXPECT_EQ(platform->messages.size(), 1u) << "the error was read once";
    EXPECT_EQ(BoundTexture(), scene.tileTexturesB[3]);

    scene.tile1TexFallback = scene.tile2TexFallback = 0;
    RaiseGlError();
    DrawTileLayer2();
    EXPECT_EQ(platform->messages.size(), 2u);
    EXPECT_EQ(scene.tile2TexFallback, 2);
    EXPECT_EQ(scene.tile1TexFallback, 0) << "layer two raises only its own";
}

TEST_F(Tiles, HiddenLayerLeavesAPendingErrorAlone) {
    ScopedScriptedPlatform platform;
    scene.tile1Shown = 0;
    RaiseGlError();
    DrawTileLayer1();
    EXPECT_TRUE(platform->messages.empty());
    EXPECT_NE(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The tiles read any pending error, so every effect drawn before them in a
// frame (and at the end of the one before) must leave none behind.
struct BusyFrameCase {
    const char* what;
    int tunnel, radialBlur, motionBlur;
};

TEST_F(Tiles, BusyFramesLeaveNoStrayErrorForTheTiles) {
    const BusyFrameCase cases[] = {
        {"every layer", 0, 0, 0},
        {"every layer and the tunnel", 2, 0, 0},
        {"with the radial blur", 2, 2, 0},
        {"with the motion blur", 2, 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(testing::FreshScene());
        ScopedScriptedPlatform platform;
        scene.startupStage = 2;
        DrainGlErrors();
        scene.tilesShown = scene.fireShown = scene.particlesShown = 2;
        scene.starsHidden = scene.textHidden = 0;
        scene.tunnelShown = c.tunnel;
        scene.tunnelRebuildPending = 2;
        scene.radialBlurOn = c.radialBlur;
        scene.motionBlurOn = c.motionBlur;
        scene.blurActive = c.radialBlur > 1 || c.motionBlur > 1 ? 2 : 0;
        Frames(4);
        EXPECT_TRUE(platform->messages.empty()) << platform->messages.size() << " texture messages";
        EXPECT_EQ(scene.tile1TexFallback, 0);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

}  // namespace
}  // namespace quorbel
