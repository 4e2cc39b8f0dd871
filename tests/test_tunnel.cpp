// The tunnel: its cone, the texture flow of both modes, the mode switches,
// the animation step and what it looks like.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "effects/tunnel.h"
#include "scene/scene_composition.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"
#include "effect_gl_helpers.h"

namespace quorbel {
namespace {

using testing::BoundTexture;
using testing::MakeSolidTexture;

constexpr float kTolerance = 1e-4f;

class Tunnel : public ::testing::Test {
protected:
    void SetUp() override {
        engine_ = testing::FreshScene();
        ASSERT_TRUE(engine_);
        ASSERT_TRUE(glIsTexture(scene.baseTextures[2])) << "the default pictures in Data/ and gfx/ are missing";
        scene.startupStage = 2;
        scene.textHidden = 2;
        BuildTunnelGeometry();
    }
    void ShowTunnel() {
        scene.tunnelShown = 2;
        scene.tunnelRebuildPending = 2;
    }
    static void Frames(int count) {
        for (int i = 0; i < count; ++i) RenderScene();
    }
    // Mean of one channel over a square of pixels around (x, y).
    double MeanChannel(const std::vector<std::uint8_t>& rgb, int x, int y, int channel, int half = 3) const {
        double sum = 0;
        int count = 0;
        for (int dy = -half; dy <= half; ++dy)
            for (int dx = -half; dx <= half; ++dx) {
                auto pixel = testing::PixelAt(rgb, engine_->width(), x + dx, y + dy);
                sum += channel == 0 ? pixel.r : channel == 1 ? pixel.g : pixel.b;
                ++count;
            }
        return sum / count;
    }
    HeadlessEngine* engine_ = nullptr;
};

// ----- geometry --------------------------------------------------------------

struct VertexCase {
    int s, t;
    float x, y, z;
};

TEST_F(Tunnel, VerticesLieOnTheNarrowingCone) {
    // Radius 3 at the mouth, 3 - t / 12 deeper; s steps by a sixteenth of a turn.
    const VertexCase cases[] = {
        {0, 0, 3.0f, 0.0f, 0.0f},          {8, 0, 0.0f, 3.0f, 0.0f},
        {4, 6, 1.767767f, 1.767767f, -6.0f}, {16, 12, -2.0f, 0.0f, -12.0f},
        {24, 3, 0.0f, -2.75f, -3.0f},      {32, 32, 0.333333f, 0.0f, -32.0f},
    };
    for (const auto& c : cases) {
        TunnelVertex v = TunnelVertexAt(c.s, c.t);
        EXPECT_NEAR(v.x, c.x, kTolerance) << "s=" << c.s << " t=" << c.t;
        EXPECT_NEAR(v.y, c.y, kTolerance) << "s=" << c.s << " t=" << c.t;
        EXPECT_NEAR(v.z, c.z, kTolerance) << "s=" << c.s << " t=" << c.t;
    }
}

TEST_F(Tunnel, LastRowClosesTheCircleAndOutsideTheGridIsZero) {
    for (int t = 0; t <= 32; t += 8) {
        EXPECT_NEAR(TunnelVertexAt(32, t).x, TunnelVertexAt(0, t).x, kTolerance);
        EXPECT_NEAR(TunnelVertexAt(32, t).y, TunnelVertexAt(0, t).y, kTolerance);
    }
    for (auto [s, t] : {std::pair{-1, 0}, {33, 0}, {0, -1}, {0, 33}}) {
        TunnelVertex v = TunnelVertexAt(s, t);
        EXPECT_EQ(v.x, 0.0f);
        EXPECT_EQ(v.z, 0.0f);
        EXPECT_EQ(TunnelTexCoordAt(s, t).u, 0.0f);
    }
}

// ----- texture coordinates ---------------------------------------------------

struct TexCoordCase {
    int s, t;
    float u, v;
};

TEST_F(Tunnel, FirstModeTexCoordsAtAKnownPhase) {
    scene.paused = 2;
    scene.tunnelPhase = 2.0f;
    scene.tunnelTwist = 1.0f;
    scene.tunnelWarpA = 30.0f;
    DrawTunnel();
    const TexCoordCase cases[] = {
        {0, 0, 1.482327f, 0.4f}, {3, 5, 1.641286f, 0.879167f}, {10, 20, 1.922579f, 2.316667f}, {32, 32, 3.117619f, 3.466667f}};
    for (const auto& c : cases) {
        EXPECT_NEAR(TunnelTexCoordAt(c.s, c.t).u, c.u, kTolerance) << "s=" << c.s << " t=" << c.t;
        EXPECT_NEAR(TunnelTexCoordAt(c.s, c.t).v, c.v, kTolerance) << "s=" << c.s << " t=" << c.t;
    }
}

TEST_F(Tunnel, SecondModeTexCoordsAtAKnownPhase) {
    scene.paused = 2;
    scene.tunnelTexMode = 2;
    scene.tunnelPhase = 2.0f;
    scene.tunnelTwist = 1.5f;
    scene.tunnelWarpB = 4.0f;
    DrawTunnel();
    const TexCoordCase cases[] = {
        {0, 0, 1.982327f, 0.12f}, {3, 5, 4.485400f, 1.42f}, {10, 20, 11.887783f, 5.32f}, {32, 32, 33.094453f, 8.44f}};
    for (const auto& c : cases) {
        EXPECT_NEAR(TunnelTexCoordAt(c.s, c.t).u, c.u, kTolerance) << "s=" << c.s << " t=" << c.t;
        EXPECT_NEAR(TunnelTexCoordAt(c.s, c.t).v, c.v, kTolerance) << "s=" << c.s << " t=" << c.t;
    }
}

TEST_F(Tunnel, ZeroWarpKeepsTexCoordsFiniteWithoutTheFlowTerm) {
    scene.tunnelPhase = 3.0f;
    scene.tunnelWarpA = 0.0f;  // Warp slider at 35, or just back from the second mode
    DrawTunnel();
    for (int s = 0; s <= 32; ++s)
        for (int t = 0; t <= 32; ++t) {
            TunnelTexCoord c = TunnelTexCoordAt(s, t);
            ASSERT_TRUE(std::isfinite(c.u) && std::isfinite(c.v)) << "s=" << s << " t=" << t;
            ASSERT_NEAR(c.v, t * 0.0625f, kTolerance);
        }

    // The second mode's divisor can be 0 too (Warp slider at 50 there).
    scene.tunnelTexMode = 2;
    scene.tunnelWarpA = -4.0f;
    scene.tunnelWarpB = 0.0f;
    scene.tunnelPhase = 3.0f;
    scene.paused = 2;
    DrawTunnel();
    for (int t = 0; t <= 32; ++t) {
        TunnelTexCoord c = TunnelTexCoordAt(5, t);
        ASSERT_TRUE(std::isfinite(c.u) && std::isfinite(c.v)) << "t=" << t;
        ASSERT_NEAR(c.v, (18.0f + t) * 0.01f, kTolerance);
    }
}

// ----- animation -------------------------------------------------------------

struct ModeSwitchCase {
    const char* what;
    int modeBefore;
    float warpA, warpB;
    int modeAfter;
    float warpAAfter, warpBAfter;
};

TEST_F(Tunnel, WarpSliderEndsSwitchTheTextureModeOnTheNextPlayingFrame) {
    const ModeSwitchCase cases[] = {
        {"Warp 31 in the first mode", 0, -4.0f, 1.0f, 2, -4.0f, 1.0f},
        {"Warp 32 in the first mode", 0, -3.0f, 1.0f, 0, -3.0f, 1.0f},
        {"Warp 62 in the second mode", 2, -4.0f, 12.0f, 0, 0.0f, 0.0f},
        {"Warp 61 in the second mode", 2, -4.0f, 11.0f, 2, -4.0f, 11.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(testing::FreshScene());
        scene.startupStage = 2;
        ShowTunnel();
        scene.tunnelTexMode = c.modeBefore;
        scene.tunnelWarpA = c.warpA;
        scene.tunnelWarpB = c.warpB;
        scene.paused = 2;
        RenderScene();
        EXPECT_EQ(scene.tunnelTexMode, c.modeBefore) << "no switch while paused";
        scene.paused = 0;
        RenderScene();
        EXPECT_EQ(scene.tunnelTexMode, c.modeAfter);
        EXPECT_EQ(scene.tunnelWarpA, c.warpAAfter);
        EXPECT_EQ(scene.tunnelWarpB, c.warpBAfter);
    }
}

TEST_F(Tunnel, SwitchedModeShowsInTheFollowingFramesTexCoords) {
    ShowTunnel();
    scene.tunnelWarpA = -4.0f;
    RenderScene();
    // The switching frame still drew the first mode: u of (1, 0) near 1.56.
    EXPECT_LT(TunnelTexCoordAt(1, 0).u, 1.6f);
    RenderScene();
    // Second mode: u = s + twist + wave, about 2.5 for (1, 0).
    EXPECT_GT(TunnelTexCoordAt(1, 0).u, 2.4f);
}

struct SpeedCase {
    float speed;
    float phasePerFrame;
};

TEST_F(Tunnel, PhaseAdvancesBySpeedOver156PerPlayingFrame) {
    // Slider positions 50 (stop), 51 (the start value 1), 100 and 0.
    const SpeedCase cases[] = {{0.0f, 0.0f}, {1.0f, 1.0f / 156}, {50.0f, 50.0f / 156}, {-50.0f, -50.0f / 156}};
    for (const auto& c : cases) {
        ShowTunnel();
        scene.tunnelPhase = 1.0f;
        scene.tunnelSpeed = c.speed;
        Frames(4);
        EXPECT_NEAR(scene.tunnelPhase, 1.0f + 4 * c.phasePerFrame, kTolerance) << "speed " << c.speed;
    }
}

TEST_F(Tunnel, SpeedZeroStopsTheFlow) {
    ShowTunnel();
    scene.tunnelSpeed = 0.0f;
    scene.tunnelPhase = 0.7f;
    RenderScene();
    TunnelTexCoord before = TunnelTexCoordAt(7, 9);
    Frames(5);
    EXPECT_EQ(TunnelTexCoordAt(7, 9).u, before.u);
    EXPECT_EQ(TunnelTexCoordAt(7, 9).v, before.v);
}

struct ZoomCase {
    int dir;
    float depthPerFrame;
};

TEST_F(Tunnel, ZoomMotionMovesTheDepthWithoutLimit) {
    const ZoomCase cases[] = {{2, 0.05f}, {4, -0.05f}, {0, 0.0f}, {3, 0.0f}};
    for (const auto& c : cases) {
        ShowTunnel();
        scene.tunnelDepth = 0.0f;
        scene.tunnelZoomSpeed = 10.0f;
        scene.tunnelZoomDir = c.dir;
        Frames(4);
        EXPECT_NEAR(scene.tunnelDepth, 4 * c.depthPerFrame, kTolerance) << "direction " << c.dir;
    }
    scene.tunnelZoomDir = 2;
    scene.tunnelZoomSpeed = 100.0f;
    scene.tunnelDepth = 40.0f;  // already behind the camera
    RenderScene();
    EXPECT_NEAR(scene.tunnelDepth, 40.5f, kTolerance);
}

TEST_F(Tunnel, PauseHoldsPhaseDepthAndMode) {
    ShowTunnel();
    scene.paused = 2;
    scene.tunnelSpeed = 30.0f;
    scene.tunnelZoomDir = 2;
    scene.tunnelZoomSpeed = 10.0f;
    scene.tunnelWarpA = -10.0f;
    Frames(3);
    EXPECT_EQ(scene.tunnelPhase, 0.0f);
    EXPECT_EQ(scene.tunnelDepth, 0.0f);
    EXPECT_EQ(scene.tunnelTexMode, 0);
}

TEST_F(Tunnel, HiddenTunnelKeepsItsPhase) {
    scene.tunnelPhase = 2.5f;
    scene.tunnelSpeed = 10.0f;
    Frames(3);
    EXPECT_EQ(scene.tunnelPhase, 2.5f);
}

// ----- colour, state and texture ---------------------------------------------

TEST_F(Tunnel, ColourTintSplitsTheReferenceIntoChannels) {
    scene.tunnelColour = 0x00336699;  // blue 0x33, green 0x66, red 0x99
    ApplyTunnelColour();
    EXPECT_EQ(scene.tunnelRed, 0.0f) << "the switch is off";
    scene.tunnelColourOn = 2;
    ApplyTunnelColour();
    EXPECT_NEAR(scene.tunnelRed, 0.6f, 1e-5);
    EXPECT_NEAR(scene.tunnelGreen, 0.4f, 1e-5);
    EXPECT_NEAR(scene.tunnelBlue, 0.2f, 1e-5);
    float current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_NEAR(current[0], 0.6f, 1e-5);
    EXPECT_NEAR(current[2], 0.2f, 1e-5);
}

TEST_F(Tunnel, DrawLeavesFogAndBlendingOnAndDepthTestOff) {
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_FOG);
    DrawTunnel();
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

struct TextureCase {
    int customTex, fallback;
    bool slot;
    int fallbackAfter;
};

TEST_F(Tunnel, TextureRuleDecidesBetweenSlotAndWeave) {
    const GLuint slot = MakeSolidTexture(255, 255, 255);
    const TextureCase cases[] = {
        {2, 0, true, 0}, {2, 1, false, 1}, {2, 2, false, 2}, {0, 2, false, 0}, {1, 1, false, 0},
    };
    for (const auto& c : cases) {
        scene.tunnelTexture = slot;
        scene.tunnelCustomTex = c.customTex;
        scene.tunnelTexFallback = c.fallback;
        DrawTunnel();
        EXPECT_EQ(BoundTexture(), c.slot ? slot : scene.baseTextures[1])
            << "custom " << c.customTex << " fallback " << c.fallback;
        EXPECT_EQ(scene.tunnelTexFallback, c.fallbackAfter);
    }
}

TEST_F(Tunnel, ResetRestoresTheStartValuesAndBindsTheLinesTexture) {
    scene.tunnelTexMode = 2;
    scene.tunnelZoomDir = 4;
    scene.tunnelDepth = -12.0f;
    scene.tunnelTwist = 40.0f;
    scene.tunnelWarpA = -6.0f;
    scene.tunnelWarpB = 9.0f;
    scene.tunnelPhase = 7.0f;
    ResetTunnel();
    EXPECT_EQ(scene.tunnelTexMode, 0);
    EXPECT_EQ(scene.tunnelZoomDir, 0);
    EXPECT_EQ(scene.tunnelDepth, 0.0f);
    EXPECT_EQ(scene.tunnelTwist, 1.0f);
    EXPECT_EQ(scene.tunnelWarpA, 30.0f);
    EXPECT_EQ(scene.tunnelWarpB, 1.0f);
    EXPECT_EQ(scene.tunnelSpeed, 56.0f);
    EXPECT_EQ(scene.tunnelPhase, 7.0f) << "the phase carries on";
    EXPECT_EQ(BoundTexture(), scene.baseTextures[0]);
}

// ----- pixels -----------------------------------------------------------------

TEST_F(Tunnel, WithoutATintTheTunnelAddsNothing) {
    ShowTunnel();
    Frames(3);
    EXPECT_EQ(testing::CountLitPixels(engine_->ReadPixels(), 0), 0);
}

TEST_F(Tunnel, TintedTunnelIsVisibleWithItsDefaultTexture) {
    ShowTunnel();
    scene.tunnelColourOn = 2;
    scene.tunnelColour = 0x00ffffff;
    Frames(3);
    const int total = engine_->width() * engine_->height();
    EXPECT_GT(testing::CountLitPixels(engine_->ReadPixels()), total / 4);
}

TEST_F(Tunnel, TintedTunnelFadesTowardsTheFarEnd) {
    ShowTunnel();
    scene.tunnelTexture = MakeSolidTexture(255, 255, 255);
    scene.tunnelCustomTex = 2;
    scene.tunnelColourOn = 2;
    scene.tunnelColour = 0x000000ff;  // red
    Frames(3);
    auto rgb = engine_->ReadPixels();
    const int cx = engine_->width() / 2, cy = engine_->height() / 2;
    // Straight up from the centre the wall comes nearer, so the fog thins.
    const double centre = MeanChannel(rgb, cx, cy, 0);
    double previous = centre;
    for (int offset : {40, 80, 140, 230}) {
        double red = MeanChannel(rgb, cx, cy + offset, 0);
        EXPECT_GT(red, previous + 5) << offset << " pixels above the centre";
        previous = red;
    }
    EXPECT_LT(centre, 10.0) << "the far end is lost in the fog";
    EXPECT_GT(previous, 120.0) << "near the rim the wall is bright";
    EXPECT_EQ(MeanChannel(rgb, cx, cy + 230, 1), 0.0) << "a red tint gives no green";
    EXPECT_EQ(MeanChannel(rgb, cx, cy + 230, 2), 0.0) << "a red tint gives no blue";
}

}  // namespace
}  // namespace quorbel
