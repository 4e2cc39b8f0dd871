#include "effects/tunnel.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdint>

#include "scene/scene_state.h"

namespace quorbel {

namespace {

// 32 strips of 32 quads need 33 rows and columns of corners; row 32 closes
// the circle onto row 0.
constexpr int kGridSize = 33;
constexpr int kStrips = kGridSize - 1;

constexpr float kAngleStep = 0.19634955f;   // pi / 16
constexpr float kMouthRadius = 3.0f;
constexpr float kRadiusStep = 0.083333336f;  // 1 / 12: the far end is a ninth of the mouth
constexpr float kPhaseStep = 0.0064102565f;   // 1 / 156
constexpr float kZoomStep = 0.005f;
constexpr float kWaveScale = 0.033333335f;    // 1 / 30
// Warp slider limits at which the texture mode flips.
constexpr float kSecondModeWarpA = -3.1f;
constexpr float kFirstModeWarpB = 12.0f;

// Kept between frames: the vertices change only on request, the texture
// coordinates every drawn frame. Static so drawing allocates nothing.
TunnelVertex tunnelVertices[kGridSize][kGridSize];
TunnelTexCoord tunnelTexCoords[kGridSize][kGridSize];

bool Playing() { return !On(scene.paused); }
bool InGrid(int s, int t) { return s >= 0 && s < kGridSize && t >= 0 && t < kGridSize; }

// A zero divisor (or any non-finite quotient) contributes nothing rather
// than sending infinities or NaNs to OpenGL.
float FiniteQuotient(float numerator, float divisor) {
    float quotient = numerator / divisor;
    return std::isfinite(quotient) ? quotient : 0.0f;
}

TunnelTexCoord FirstModeTexCoord(int s, int t, float phase) {
    float twist = scene.tunnelTwist;
    float u = s * 0.0625f + twist + 0.5f * std::cos((phase * 4.0f + twist * t) * kWaveScale);
    float v = t * 0.0625f + FiniteQuotient(phase * 6.0f + t, scene.tunnelWarpA);
    return {u, v};
}

TunnelTexCoord SecondModeTexCoord(int s, int t, float phase) {
    float u = s + scene.tunnelTwist + 0.5f * std::cos((t * 8.0f + phase * 4.0f) * kWaveScale);
    float v = FiniteQuotient(static_cast<float>(t), scene.tunnelWarpB) + (phase * 6.0f + t) * 0.01f;
    return {u, v};
}

void ComputeTexCoords() {
    const bool secondMode = On(scene.tunnelTexMode);
    const float phase = scene.tunnelPhase;
    for (int s = 0; s < kGridSize; ++s)
        for (int t = 0; t < kGridSize; ++t)
            tunnelTexCoords[s][t] = secondMode ? SecondModeTexCoord(s, t, phase) : FirstModeTexCoord(s, t, phase);
}

// Pushing the Warp slider past either end flips the texture mode; the switch
// back to the first mode starts both warps from 0.
void SwitchTextureMode() {
    if (scene.tunnelWarpB >= kFirstModeWarpB) {
        scene.tunnelTexMode = 0;
        scene.tunnelWarpA = 0.0f;
        scene.tunnelWarpB = 0.0f;
    }
    if (scene.tunnelWarpA <= kSecondModeWarpA) scene.tunnelTexMode = 2;
}

void AdvanceTunnel() {
    SwitchTextureMode();
    scene.tunnelPhase += scene.tunnelSpeed * kPhaseStep;
    if (scene.tunnelZoomDir == 2) scene.tunnelDepth += scene.tunnelZoomSpeed * kZoomStep;
    if (scene.tunnelZoomDir == 4) scene.tunnelDepth -= scene.tunnelZoomSpeed * kZoomStep;
}

void BindTunnelTexture() {
    if (!On(scene.tunnelCustomTex)) scene.tunnelTexFallback = 0;
    bool useSlot = On(scene.tunnelCustomTex) && scene.tunnelTexFallback == 0;
    glBindTexture(GL_TEXTURE_2D, useSlot ? scene.tunnelTexture : scene.baseTextures[1]);
}

void Corner(int s, int t) {
    const TunnelTexCoord& tex = tunnelTexCoords[s][t];
    const TunnelVertex& vertex = tunnelVertices[s][t];
    glTexCoord2f(tex.u, tex.v);
    glVertex3f(vertex.x, vertex.y, vertex.z);
}

void DrawStrip(int s) {
    glBegin(GL_QUADS);
    for (int t = 0; t < kStrips; ++t) {
        Corner(s, t);
        Corner(s + 1, t);
        Corner(s + 1, t + 1);
        Corner(s, t + 1);
    }
    glEnd();
}

}  // namespace

void BuildTunnelGeometry() {
    for (int s = 0; s < kGridSize; ++s) {
        float angle = s * kAngleStep;
        for (int t = 0; t < kGridSize; ++t) {
            float radius = kMouthRadius - t * kRadiusStep;
            tunnelVertices[s][t] = {radius * std::cos(angle), radius * std::sin(angle), -static_cast<float>(t)};
        }
    }
}

void ApplyTunnelColour() {
    if (!On(scene.tunnelColourOn)) return;
    std::uint32_t colour = scene.tunnelColour;
    scene.tunnelRed = RedOf(colour);
    scene.tunnelGreen = GreenOf(colour);
    scene.tunnelBlue = BlueOf(colour);
    glColor3f(scene.tunnelRed, scene.tunnelGreen, scene.tunnelBlue);
}

void DrawTunnel() {
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glColor3f(scene.tunnelRed, scene.tunnelGreen, scene.tunnelBlue);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, scene.tunnelDepth);
    ComputeTexCoords();
    if (Playing()) AdvanceTunnel();
    glEnable(GL_FOG);
    for (int s = 0; s < kStrips; ++s) {
        BindTunnelTexture();
        DrawStrip(s);
    }
}

void ResetTunnel() {
    glBindTexture(GL_TEXTURE_2D, scene.baseTextures[0]);
    scene.tunnelTexMode = 0;
    scene.tunnelZoomDir = 0;
    scene.tunnelDepth = 0.0f;
    scene.tunnelTwist = 1.0f;
    scene.tunnelWarpB = 1.0f;
    scene.tunnelWarpA = 30.0f;
    scene.tunnelSpeed = 56.0f;
}

TunnelVertex TunnelVertexAt(int s, int t) { return InGrid(s, t) ? tunnelVertices[s][t] : TunnelVertex{}; }

TunnelTexCoord TunnelTexCoordAt(int s, int t) { return InGrid(s, t) ? tunnelTexCoords[s][t] : TunnelTexCoord{}; }

}  // namespace quorbel
