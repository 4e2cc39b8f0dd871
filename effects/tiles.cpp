#include "effects/tiles.h"

#include <GL/gl.h>

#include <cstdint>

#include "imaging/textures.h"
#include "scene/gl_setup.h"
#include "scene/scene_state.h"

namespace quorbel {

namespace {

constexpr float kNearDepth = -0.1f;         // just in front of the camera
constexpr float kZoomScale = 0.1f;
constexpr float kRotationStep = 0.0001f;    // turns per unit of speed
constexpr float kPanStep = 0.00025f;        // per unit of pan speed
constexpr float kDriftStep = 0.0005f;
constexpr float kHalfSize = 2.1f;
constexpr float kRepeats = 3.0f;            // the texture repeats three times across
constexpr float kWhite = 255.0f;            // clamped to 1 by OpenGL

using Int = std::int32_t SceneState::*;
using Float = float SceneState::*;
using Colour = std::uint32_t SceneState::*;

// The scene fields of one layer; both layers run the same code over them.
struct TileLayer {
    Int shown, transparent;
    Float angle;
    Int rotDir;
    Float rotSpeed;
    Int tintOn;
    Colour tint;
    Float red, green, blue;
    Float u, v;
    Int panV, panU;
    Float panUpSpeed, panDownSpeed, panRightSpeed, panLeftSpeed;
    Float zoom;
};

constexpr TileLayer kLayerOne{
    &SceneState::tile1Shown,        &SceneState::tile1Transparent,  &SceneState::tile1Angle,
    &SceneState::tile1RotDir,       &SceneState::tile1RotSpeed,     &SceneState::tile1TintOn,
    &SceneState::tile1Tint,         &SceneState::tile1Red,          &SceneState::tile1Green,
    &SceneState::tile1Blue,         &SceneState::tile1U,            &SceneState::tile1V,
    &SceneState::tile1PanV,         &SceneState::tile1PanU,         &SceneState::tile1PanUpSpeed,
    &SceneState::tile1PanDownSpeed, &SceneState::tile1PanRightSpeed, &SceneState::tile1PanLeftSpeed,
    &SceneState::tile1Zoom,
};

constexpr TileLayer kLayerTwo{
    &SceneState::tile2Shown,        &SceneState::tile2Transparent,  &SceneState::tile2Angle,
    &SceneState::tile2RotDir,       &SceneState::tile2RotSpeed,     &SceneState::tile2TintOn,
    &SceneState::tile2Tint,         &SceneState::tile2Red,          &SceneState::tile2Green,
    &SceneState::tile2Blue,         &SceneState::tile2U,            &SceneState::tile2V,
    &SceneState::tile2PanV,         &SceneState::tile2PanU,         &SceneState::tile2PanUpSpeed,
    &SceneState::tile2PanDownSpeed, &SceneState::tile2PanRightSpeed, &SceneState::tile2PanLeftSpeed,
    &SceneState::tile2Zoom,
};

bool Playing() { return !On(scene.paused); }

void RotationStep(const TileLayer& layer) {
    std::int32_t dir = scene.*layer.rotDir;
    float step = scene.*layer.rotSpeed * kRotationStep;
    if (dir == 2) scene.*layer.angle += step;
    if (dir >= 4) scene.*layer.angle -= step;
}

void ApplyTint(const TileLayer& layer) {
    if (On(scene.*layer.tintOn)) {
        std::uint32_t tint = scene.*layer.tint;
        scene.*layer.red = RedOf(tint);
        scene.*layer.green = GreenOf(tint);
        scene.*layer.blue = BlueOf(tint);
    }
    glColor3f(scene.*layer.red, scene.*layer.green, scene.*layer.blue);
}

// The slot texture is used only while it is in use and has not fallen back;
// layer two's slot counts as in use at exactly 2.
std::uint32_t LayerOneTexture() {
    bool slot = On(scene.tile1CustomTex) && !On(scene.tile1TexFallback);
    return slot ? scene.tileTexture1() : scene.tileTexturesA[0];
}

std::uint32_t LayerTwoTexture() {
    bool slot = scene.tile2CustomTex == 2 && !On(scene.tile2TexFallback);
    return slot ? scene.tileTexture2 : scene.tileTexturesB[3];
}

// OpenGL reports a slot picture it rejected only as a pending error, so one
// is taken here as the sign of an unusable slot texture.
bool TextureRejected() { return glGetError() != GL_NO_ERROR; }

void BindLayerOneTexture() {
    if (TextureRejected()) {
        ShowTextureError();
        // Layer one's failure puts both layers on their default textures.
        scene.tile1TexFallback = 2;
        scene.tile2TexFallback = 2;
    }
    glBindTexture(GL_TEXTURE_2D, LayerOneTexture());
}

void BindLayerTwoTexture() {
    if (TextureRejected()) {
        ShowTextureError();
        scene.tile2TexFallback = 2;
    }
    glBindTexture(GL_TEXTURE_2D, LayerTwoTexture());
}

// Layer one also drifts layer two while no pan is set, so layer two drifts
// only while layer one is drawn.
void DriftStep() {
    scene.tile1U += kDriftStep;
    scene.tile2U -= kDriftStep;
}

void PanStep(const TileLayer& layer) {
    std::int32_t panV = scene.*layer.panV;
    std::int32_t panU = scene.*layer.panU;
    if (panV == 2) scene.*layer.v += scene.*layer.panUpSpeed * kPanStep;
    if (panV >= 4) scene.*layer.v -= scene.*layer.panDownSpeed * kPanStep;
    if (panU == 2) scene.*layer.u += scene.*layer.panRightSpeed * kPanStep;
    if (panU >= 4) scene.*layer.u -= scene.*layer.panLeftSpeed * kPanStep;
}

void DrawQuad(const TileLayer& layer) {
    const float u = scene.*layer.u;
    const float v = scene.*layer.v;
    const float z = scene.*layer.zoom * kZoomScale;
    glBegin(GL_QUADS);
    glTexCoord2f(u + kRepeats, v + kRepeats);
    glVertex3f(-kHalfSize, -kHalfSize, z);
    glTexCoord2f(u, v + kRepeats);
    glVertex3f(kHalfSize, -kHalfSize, z);
    glTexCoord2f(u, v);
    glVertex3f(kHalfSize, kHalfSize, z);
    glTexCoord2f(u + kRepeats, v);
    glVertex3f(-kHalfSize, kHalfSize, z);
    glEnd();
}

// What every layer leaves behind: a later non-transparent layer multiplies
// into what is already drawn.
void MultiplyingState() {
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glColor3f(kWhite, kWhite, kWhite);
}

void DrawLayer(const TileLayer& layer, void (*bindTexture)(), bool drivesDrift) {
    if (!On(scene.*layer.shown)) return;
    const bool playing = Playing();
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, kNearDepth);
    if (playing) RotationStep(layer);
    ApplyTint(layer);
    bindTexture();
    if (On(scene.*layer.transparent)) AdditiveTexturedState();
    glRotatef(scene.*layer.angle * 360.0f, 0.0f, 0.0f, 1.0f);
    if (playing) {
        if (drivesDrift && !On(scene.tilePanOn)) DriftStep();
        if (On(scene.tilePanOn)) PanStep(layer);
    }
    DrawQuad(layer);
    MultiplyingState();
}

}  // namespace

void DrawTileLayer1() { DrawLayer(kLayerOne, BindLayerOneTexture, true); }

void DrawTileLayer2() { DrawLayer(kLayerTwo, BindLayerTwoTexture, false); }

}  // namespace quorbel
