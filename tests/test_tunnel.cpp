// The tunnel: its cone, the texture flow of both modes, the mode switches,
// and what it looks like.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "effect_gl_helpers.h"
#include "effects/tunnel.h"

namespace quorbel {
namespace {

constexpr float kTolerance = 1e-4f;

class Tunnel : public testing::EffectTest {
protected:
    void SetUp() override {
        EffectTest::SetUp();
        BuildTunnelGeometry();
        scene.tunnelShown = scene.tunnelRebuildPending = 2;
    }
};

TEST_F(Tunnel, VerticesLieOnTheNarrowingCone) {
    // Radius 3 at the mouth, 3 - t / 12 deeper; s steps by a sixteenth of a
    // turn, row 32 closes the circle, and outside the grid is all zero.
    struct Case { int s, t; float x, y, z; };
    const Case cases[] = {{0, 0, 3, 0, 0},         {8, 0, 0, 3, 0},            {4, 6, 1.767767f, 1.767767f, -6},
                          {24, 3, 0, -2.75f, -3}, {32, 32, 0.333333f, 0, -32}, {33, 5, 0, 0, 0}};
    for (const auto& c : cases) {
        const TunnelVertex v = TunnelVertexAt(c.s, c.t);
        EXPECT_LT(std::hypot(v.x - c.x, v.y - c.y, v.z - c.z), kTolerance)
            << "s=" << c.s << " t=" << c.t << ": " << v.x << ", " << v.y << ", " << v.z;
    }
}

TEST_F(Tunnel, TexCoordsOfBothModesAtAKnownPhase) {
    // Phase 2; the first mode with twist 1 and warp 30, the second with
    // twist 1.5 and second warp 4.
    struct Case { int mode, s, t; float u, v; };
    const Case cases[] = {
        {0, 0, 0, 1.482327f, 0.4f},  {0, 3, 5, 1.641286f, 0.879167f}, {0, 32, 32, 3.117619f, 3.466667f},
        {2, 0, 0, 1.982327f, 0.12f}, {2, 3, 5, 4.4854f, 1.42f},       {2, 32, 32, 33.094453f, 8.44f}};
    scene.paused = 2;
    scene.tunnelPhase = 2.0f;
    scene.tunnelWarpA = 30.0f;
    scene.tunnelWarpB = 4.0f;
    for (const auto& c : cases) {
        scene.tunnelTexMode = c.mode;
        scene.tunnelTwist = c.mode == 2 ? 1.5f : 1.0f;
        DrawTunnel();
        const TunnelTexCoord tex = TunnelTexCoordAt(c.s, c.t);
        EXPECT_LT(std::hypot(tex.u - c.u, tex.v - c.v), kTolerance)
            << "mode " << c.mode << " s=" << c.s << " t=" << c.t << ": " << tex.u << ", " << tex.v;
    }
}

TEST_F(Tunnel, ZeroWarpLeavesOutTheFlowTermAndStaysFinite) {
    // The first mode divides by 0 at Warp 35 or just back from the second
    // mode, the second mode at Warp 50.
    struct Case { int mode; float warpA, warpB, v0, vPerRow; };
    const Case cases[] = {{0, 0.0f, 1.0f, 0.0f, 0.0625f}, {2, -4.0f, 0.0f, 0.18f, 0.01f}};
    scene.paused = 2;
    scene.tunnelPhase = 3.0f;
    for (const auto& c : cases) {
        scene.tunnelTexMode = c.mode;
        scene.tunnelWarpA = c.warpA;
        scene.tunnelWarpB = c.warpB;
        DrawTunnel();
        for (int s = 0; s <= 32; ++s)
            for (int t = 0; t <= 32; ++t)
                ASSERT_NEAR(TunnelTexCoordAt(s, t).v, c.v0 + t * c.vPerRow, kTolerance)
                    << "mode " << c.mode << " s=" << s << " t=" << t;
    }
}

TEST_F(Tunnel, WarpSliderEndsSwitchTheTextureModeOnTheNextPlayingFrame) {
    struct Case { const char* what; int modeBefore; float warpA, warpB; int modeAfter; float warpAAfter, warpBAfter; };
    const Case cases[] = {{"Warp 31, first mode", 0, -4.0f, 1.0f, 2, -4.0f, 1.0f},
                          {"Warp 32, first mode", 0, -3.0f, 1.0f, 0, -3.0f, 1.0f},
                          {"a loaded warp at the limit itself", 0, -3.1f, 1.0f, 2, -3.1f, 1.0f},
                          {"Warp 62, second mode", 2, -4.0f, 12.0f, 0, 0.0f, 0.0f},
                          {"Warp 61, second mode", 2, -4.0f, 11.0f, 2, -4.0f, 11.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        scene.tunnelTexMode = c.modeBefore;
        scene.tunnelWarpA = c.warpA;
        scene.tunnelWarpB = c.warpB;
        scene.paused = 2;
        RenderScene();
        EXPECT_EQ(scene.tunnelTexMode, c.modeBefore) << "no switch while paused";
        scene.paused = 0;
        RenderScene();
        EXPECT_EQ(std::tuple(scene.tunnelTexMode, scene.tunnelWarpA, scene.tunnelWarpB),
                  std::tuple(c.modeAfter, c.warpAAfter, c.warpBAfter));
    }
}

// Untinted the tunnel is black; tinted red, straight up from the centre the
// wall comes nearer, so the fog thins and the red grows.
TEST_F(Tunnel, UntintedIsBlackAndATintFadesTowardsTheFarEnd) {
    scene.tunnelTexture = testing::MakeSolidTexture(255, 255, 255);
    scene.tunnelCustomTex = 2;
    Capture(3);
    EXPECT_EQ(Lit(0), 0) << "untinted";
    scene.tunnelColourOn = 2;
    scene.tunnelColour = 0x000000ff;
    Capture(3);
    int previous = Pixel(Width() / 2, Height() / 2).r;
    EXPECT_LT(previous, 10) << "the far end is lost in the fog";
    for (int offset : {40, 80, 140, 230}) {
        const testing::Rgb wall = Pixel(Width() / 2, Height() / 2 + offset);
        EXPECT_GT(wall.r, previous + 5) << offset << " pixels above the centre";
        EXPECT_EQ(wall.g + wall.b, 0) << "a red tint gives no green or blue";
        previous = wall.r;
    }
    EXPECT_GT(previous, 120) << "near the rim the wall is bright";
}

}  // namespace
}  // namespace quorbel
