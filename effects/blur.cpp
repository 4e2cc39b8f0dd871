#include "effects/blur.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "effects/fire.h"
#include "effects/particles.h"
#include "effects/radial_overlay.h"
#include "effects/stars.h"
#include "effects/text.h"
#include "effects/tiles.h"
#include "effects/value_runs.h"
#include "platform/platform.h"
#include "scene/gl_setup.h"
#include "scene/render_path.h"
#include "scene/scene_state.h"
#include "scene/view_scale.h"

namespace quorbel {

static_assert(kRadialCaptureSize == kRadialPictureSize, "the summed overlay reads the capture at its size");

namespace {

constexpr float kOverlayWidth = 740.0f;
constexpr float kOverlayHeight = 600.0f;
constexpr float kSeparationScale = 0.05f;
constexpr float kFadeScale = 0.0025f;
constexpr float kSeparationStepScale = 0.25f;
constexpr int kFastestCaptureRate = 130;
constexpr float kFeedbackStrength = 0.9f;
// The blur's background sliders (0 to 100) as a clear colour: the radial
// capture and the motion sources use the bright mapping, the fed-back
// texture the dim one.
constexpr float kBrightBackground = 0.02f;
constexpr float kDimBackground = 0.0025f;
constexpr int kLargestBlankTexture = 4096;

void SaveBackgroundColour(float scale) {
    scene.savedRed = scene.blurBackRed * scale;
    scene.savedGreen = scene.blurBackGreen * scale;
    scene.savedBlue = scene.blurBackBlue * scale;
}

void ClearColourFromSaved() { glClearColor(scene.savedRed, scene.savedGreen, scene.savedBlue, 0.0f); }

void RestoreViewViewport() { glViewport(0, 0, scene.viewWidth, scene.viewHeight); }

void DrawRadialStars() {
    // The stars carry whatever texture the earlier sources left bound.
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    DrawStarLoop();
}

void DrawRadialLayerQuad(float s) {
    glTexCoord2f(s, 1 - s);
    glVertex2f(0, 0);
    glTexCoord2f(s, s);
    glVertex2f(0, kOverlayHeight);
    glTexCoord2f(1 - s, s);
    glVertex2f(kOverlayWidth, kOverlayHeight);
    glTexCoord2f(1 - s, 1 - s);
    glVertex2f(kOverlayWidth, 0);
}

// A separation already past its finish holds still, whether it loops or
// bounces.
void LoopSeparation(float stride) {
    if (!On(scene.blurSeparationLoop)) return;
    if (scene.blurSeparation > scene.blurSeparationFinish) return;
    AdvanceLoop(scene.blurSeparation, {.step = stride,
                                       .forwardUpTo = std::numeric_limits<double>::infinity(),
                                       .endAt = scene.blurSeparationFinish - 1});
}

// Not the shared bounce: the turn at the finish is checked whichever way
// the separation runs, and it steps back without a lower limit.
void BounceSeparation(float stride) {
    if (!On(scene.blurSeparationBounce)) return;
    if (scene.blurSeparation > scene.blurSeparationFinish) return;
    if (scene.blurSeparationFalling <= 1) scene.blurSeparation += stride;
    if (scene.blurSeparation >= scene.blurSeparationFinish - 1) scene.blurSeparationFalling = 2;
    if (On(scene.blurSeparationFalling)) {
        scene.blurSeparation -= stride;
        if (scene.blurSeparation <= 1.0f) scene.blurSeparationFalling = 0;
    }
}

// The texture may be larger than the view (512 x 512 for 720 x 480): only
// the pixels that exist are copied (copying beyond the surface reads
// undefined contents); the rest of the texture keeps its cleared content.
void CopyViewIntoMotionTexture(int side) {
    if (scene.motionBlurTexture == 0) return;
    const int width = std::clamp(scene.viewWidth, 0, side);
    const int height = std::clamp(scene.viewHeight, 0, side);
    glBindTexture(GL_TEXTURE_2D, scene.motionBlurTexture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, height);
}

// The view changed size since the texture was made (the window was
// resized): a blank texture of the new size, as the first one was.
void FitMotionTexture(int side) {
    if (scene.motionBlurTexture == 0 || !glIsTexture(scene.motionBlurTexture)) return;
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, scene.motionBlurTexture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    if (width == side) return;
    std::uint32_t name = scene.motionBlurTexture;
    glDeleteTextures(1, &name);
    scene.motionBlurTexture = 0;
    CreateBlankTexture(&scene.motionBlurTexture, side, 3, GL_RGB, 0);
}

// The layers the overlay draws, with the same float steps as the quads take.
struct LayerList {
    std::array<RadialLayer, kMostRadialLayers> layers;
    std::array<float, kMostRadialLayers> alphas;
    int count = 0;
};
LayerList layerList;

LayerList& ListRadialLayers(int count, float s, float alpha, float alphaStep, float step) {
    layerList.count = std::max(count, 0);
    for (int i = 0; i < layerList.count; ++i) {
        layerList.alphas[i] = alpha;
        layerList.layers[i] = {s, UnitToByte(alpha)};
        s += step;
        alpha -= alphaStep;
    }
    return layerList;
}

// A layer whose alpha rounds to 0 adds nothing to an 8-bit frame buffer:
// less than half a level even where the capture is white. Under lighting
// the alpha may come from the material instead, so every layer counts.
bool LayerAddsSomething(float alpha, bool lit) { return lit || alpha * 255.0f >= 0.5f; }

bool AnyLayerAddsSomething(const LayerList& list, bool lit) {
    return std::any_of(list.alphas.begin(), list.alphas.begin() + list.count,
                       [lit](float alpha) { return LayerAddsSomething(alpha, lit); });
}

void DrawLayerQuadsThatShow(const LayerList& list, bool lit) {
    glBegin(GL_QUADS);
    for (int i = 0; i < list.count; ++i) {
        if (!LayerAddsSomething(list.alphas[i], lit)) continue;
        glColor4f(scene.blurLayerRed, scene.blurLayerGreen, scene.blurLayerBlue, list.alphas[i]);
        DrawRadialLayerQuad(list.layers[i].inset);
    }
    glEnd();
}

// What the last layer's quad would have left current: its colour, and the
// texture coordinate of its last corner, which the title's glyphs (drawn
// without texture generation into the next capture) all take.
void LeaveLastLayerCurrent(const LayerList& list) {
    if (list.count == 0) return;
    const float last = list.layers[list.count - 1].inset;
    glColor4f(scene.blurLayerRed, scene.blurLayerGreen, scene.blurLayerBlue, list.alphas[list.count - 1]);
    glTexCoord2f(1 - last, 1 - last);
}

// On llvmpipe the layers are summed on the processor in one pass; a
// graphics card blends the quads faster than it reads back the capture.
void DrawVisibleRadialLayers(const LayerList& list) {
    const float colour[3] = {scene.blurLayerRed, scene.blurLayerGreen, scene.blurLayerBlue};
    const bool lit = glIsEnabled(GL_LIGHTING);
    if (AnyLayerAddsSomething(list, lit) &&
        !(SumRadialLayersOnProcessor() && DrawSummedRadialLayers(list.layers.data(), list.count, colour)))
        DrawLayerQuadsThatShow(list, lit);
    LeaveLastLayerCurrent(list);
}

}  // namespace

void RadialBlurPass(int layers, float step) {
    RadialCapture();
    DrawRadialLayers(layers, step);
}

void RadialBlurSources() {
    glLoadIdentity();
    if (On(scene.radialText)) {
        ApplyTextTransform();
        DrawTitle();
    }
    if (On(scene.radialParticles) && On(scene.particlesShown))
        DrawParticleSystem(TheParticleEngine(), TheParticleSystem());
    if (On(scene.radialStar) && scene.starsToggleCount >= 1) DrawRadialStars();
    if (On(scene.radialFire)) DrawFire();
}

int RadialCaptureSide() { return ScaledPixels(kRadialCaptureSize, scene.viewWidth, scene.viewHeight); }
int MotionTextureSide() {
    return std::min(ScaledPixels(kMotionTextureSize, scene.viewWidth, scene.viewHeight), kLargestBlankTexture);
}

void RadialCapture() {
    const int side = RadialCaptureSide();
    glViewport(0, 0, side, side);
    RadialBlurSources();
    glBindTexture(GL_TEXTURE_2D, 0);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 0, 0, side, side, 0);
    // Hand the clear colour over to the blur's background: the colour saved
    // so far clears now, the sliders' colour is kept for the next frames.
    scene.blurClearHold = 0;
    ClearColourFromSaved();
    SaveBackgroundColour(kBrightBackground);
    scene.clearBlue = scene.savedBlue;
    scene.clearGreen = scene.savedGreen;
    RestoreViewViewport();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void DrawRadialLayers(int count, float step) {
    count = std::min(count, kMostRadialLayers);
    float s = scene.blurSeparation * kSeparationScale;
    float alpha = scene.blurFadeAlpha * kFadeScale;
    const float alphaStep = count > 0 ? alpha / static_cast<float>(count) : 0.0f;
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    BeginOrthoView();
    if (FastPathActive()) {
        DrawVisibleRadialLayers(ListRadialLayers(count, s, alpha, alphaStep, step));
    } else {
        glBegin(GL_QUADS);
        for (int i = 0; i < count; ++i) {
            glColor4f(scene.blurLayerRed, scene.blurLayerGreen, scene.blurLayerBlue, alpha);
            DrawRadialLayerQuad(s);
            s += step;
            alpha -= alphaStep;
        }
        glEnd();
    }
    EndOrthoView();
}

void AdvanceSeparation() {
    const float stride = scene.blurSeparationSpeed * kSeparationStepScale;
    LoopSeparation(stride);
    BounceSeparation(stride);
}

void MotionBlurPass() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    // In float: a rate from a settings file may be any integer, and the
    // difference must not overflow.
    const float rate = static_cast<float>(kFastestCaptureRate) - static_cast<float>(scene.blurRate);
    if (On(scene.motionText)) ApplyTextTransform();
    const int side = MotionTextureSide();
    FitMotionTexture(side);
    if (CaptureDue(rate)) {
        glViewport(0, 0, side, side);
        DrawMotionTexture();
        MotionBlurSources();
        CopyViewIntoMotionTexture(side);
        RestoreViewViewport();
    }
    DrawMotionTexture();
}

bool CaptureDue(float rate) {
    // A rate of zero or below (only from a hostile blurRate) never captures.
    if (!(rate > 0.0f)) return false;
    const double now = static_cast<double>(CurrentPlatform().TickCountMs()) * 0.001;
    if (now - scene.lastCaptureTime <= 1.0 / rate) return false;
    scene.lastCaptureTime = static_cast<float>(now);
    return true;
}

void DrawMotionTexture() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SaveBackgroundColour(kDimBackground);
    ClearColourFromSaved();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, scene.motionBlurTexture);
    glColor4f(1.0f, 1.0f, 1.0f, kFeedbackStrength);
    const float width = static_cast<float>(scene.viewWidth);
    const float height = static_cast<float>(scene.viewHeight);
    BeginOrthoRect(0, 0, scene.viewWidth, scene.viewHeight);
    const float scale = ViewScale(scene.viewWidth, scene.viewHeight);
    const float dx = (scene.extrudeRight - scene.extrudeLeft) * scale;
    const float dy = (scene.extrudeDown - scene.extrudeUp) * scale;
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex2f(dx, dy);
    glTexCoord2f(0, 0);
    glVertex2f(dx, height + dy);
    glTexCoord2f(1, 0);
    glVertex2f(width + dx, height + dy);
    glTexCoord2f(1, 1);
    glVertex2f(width + dx, dy);
    glEnd();
    EndOrthoRect();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glPopMatrix();
}

void MotionBlurSources() {
    if (On(scene.motionText)) {
        BindTextTexture(TextPass::Main);
        ApplyTextColour();
    }
    if (On(scene.motionTiles) && On(scene.tilesShown)) {
        DrawTileLayer1();
        DrawTileLayer2();
    }
    // The title is always part of the motion picture, drawn with the
    // matrices as they stand (the text's own transform when chosen above).
    DrawTitle();
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_DEPTH_TEST);
    if (On(scene.motionStar)) DrawStars();
    scene.blurClearHold = 2;
    ClearColourFromSaved();
    SaveBackgroundColour(kBrightBackground);
}

void CreateBlankTexture(std::uint32_t* names, int size, int components, unsigned format, int slot) {
    if (!names || slot < 0 || size < 1 || size > kLargestBlankTexture || components < 1 || components > 4) return;
    // Four bytes a pixel covers every byte format, whatever `format` says.
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>(size) * size * 4, 0);
    GLuint name = 0;
    glGenTextures(1, &name);
    names[slot] = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, components, size, size, 0, format, GL_UNSIGNED_BYTE, zeros.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

}  // namespace quorbel
