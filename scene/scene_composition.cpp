#include "scene/scene_composition.h"

#include <GL/gl.h>

#include "effects/blur.h"
#include "effects/fire.h"
#include "effects/particles.h"
#include "effects/stars.h"
#include "effects/text.h"
#include "effects/tiles.h"
#include "effects/tunnel.h"
#include "scene/coverage.h"
#include "scene/frame_trace.h"
#include "scene/gl_setup.h"
#include "scene/render_path.h"
#include "scene/scene_state.h"

namespace quorbel {

namespace {

// 255 is what the program passes for white; OpenGL clamps it to 1.
constexpr float kWhite = 255.0f;
constexpr float kRadialStep = 0.02f;
constexpr int kTunnelRadialLayers = 25;
constexpr int kStarWarmupLimit = 1000;

bool Playing() { return !On(scene.paused); }

void EnsureMotionTexture() {
    if (On(scene.motionTextureMade)) return;
    TraceCall("CreateBlankTexture");
    CreateBlankTexture(&scene.motionBlurTexture, MotionTextureSide(), 3, GL_RGB, 0);
    scene.motionTextureMade = 2;
}

void MotionBlurSetUp() {
    if (!On(scene.motionBlurOn)) return;
    EnsureMotionTexture();
    if (!On(scene.radialBlurOn)) {
        TraceCall("MotionBlurPass");
        MotionBlurPass();
    }
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_DEPTH_TEST);
}

// The density comes from the settings file, which may hold anything: keep
// the layer count a sane whole number before it becomes an int.
int RadialLayerCount() {
    float layers = scene.blurDensity + 25.0f;
    if (!(layers > 0.0f)) return 0;  // also NaN
    if (layers >= static_cast<float>(kMostRadialLayers)) return kMostRadialLayers;
    return static_cast<int>(layers);
}

void MainRadialBlur() {
    if (!On(scene.radialBlurOn)) return;
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glMateriali(GL_FRONT, GL_SHININESS, 128);
    TraceCall("RadialBlurPass");
    RadialBlurPass(RadialLayerCount(), kRadialStep);
    // The spread animates whether or not the scene is paused.
    TraceCall("AdvanceSeparation");
    AdvanceSeparation();
}

void TunnelBlurs() {
    if (On(scene.motionBlurOn) && !On(scene.radialBlurOn) && !On(scene.motionBlurSelected)) {
        TraceCall("MotionBlurPass");
        MotionBlurPass();
    }
    if (On(scene.radialBlurOn)) {
        glMateriali(GL_FRONT, GL_SHININESS, 128);
        TraceCall("RadialBlurPass");
        RadialBlurPass(kTunnelRadialLayers, kRadialStep);
    }
}

void FirePass() {
    glMatrixMode(GL_MODELVIEW);
    TraceCall("DrawFire");
    DrawFire();
}

void TilesPass() {
    if (!On(scene.tilesShown)) return;
    BeginSolidLayer();
    TraceCall("DrawTileLayer1");
    DrawTileLayer1();
    TraceCall("DrawTileLayer2");
    DrawTileLayer2();
    EndSolidLayer();
}

void AdditiveBlend() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
}

void StarWarmup() {
    if (!Playing() || scene.starWarmupFrames > kStarWarmupLimit) return;
    ++scene.starWarmupFrames;
    if (scene.starWarmupFrames <= kStarWarmupLimit) {
        TraceCall("StarWarmupStep");
        StarWarmupStep();
    }
}

void StarsPass() {
    if (On(scene.starsHidden)) return;
    TraceCall("DrawStars");
    DrawStars();
}

void ParticlesPass() {
    glLoadIdentity();
    if (On(scene.particlesShown)) {
        TraceCall("DrawParticleSystem");
        DrawParticleSystem(TheParticleEngine(), TheParticleSystem());
    }
    TraceCall("UpdateParticleParameters");
    UpdateParticleParameters();
}

void TextPassSetUp() {
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glDisable(GL_BLEND);
    SetUpSceneLight();
    glColor3f(kWhite, kWhite, kWhite);
    if (sceneQuadric) gluQuadricTexture(sceneQuadric, GL_TRUE);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
}

void TextPassTearDown() {
    glColor3f(kWhite, kWhite, kWhite);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_DEPTH_TEST);
}

void TextPass(TextPass pass) {
    TextPassSetUp();
    // Glass adds light like a glow; every other look has solid faces.
    const bool solid = !On(scene.textGlassBlend);
    if (solid) BeginSolidLayer();
    TraceCall(pass == TextPass::Main ? "DrawText" : "DrawTextAfterTunnel");
    DrawText(pass);
    if (solid) EndSolidLayer();
    TextPassTearDown();
}

// While a blur is on, the frame clears with red forced to 0 (the blur's
// background colour); when it goes off, the saved red comes back.
void MainClearColour() {
    if (!On(scene.blurActive)) {
        if (On(scene.redSuppressed)) scene.clearRed = scene.savedRed;
        scene.redSuppressed = 0;
        glClearColor(scene.clearRed, scene.clearGreen, scene.clearBlue, 0.0f);
    }
    if (!On(scene.blurClearHold) && On(scene.blurActive)) {
        scene.clearRed = 0.0f;
        glClearColor(0.0f, scene.savedGreen, scene.savedBlue, 0.0f);
        scene.redSuppressed = 2;
    }
}

void TunnelRebuild() {
    if (!On(scene.tunnelRebuildPending)) return;
    TraceCall("BuildTunnelGeometry");
    BuildTunnelGeometry();
    SetUpFog();
    scene.tunnelRebuildPending = 0;
}

void MainSequence() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ClearCoverage();
    MotionBlurSetUp();
    MainRadialBlur();
    if (!On(scene.tunnelShown) && On(scene.fireShown)) FirePass();
    TilesPass();
    if (!On(scene.tunnelShown)) glDisable(GL_FOG);
    AdditiveBlend();
    StarWarmup();
    StarsPass();
    ParticlesPass();
    TextPass(TextPass::Main);
    MainClearColour();
    TunnelRebuild();
}

void TunnelSequence() {
    TraceCall("ApplyTunnelColour");
    ApplyTunnelColour();
    glDisable(GL_BLEND);
    TunnelBlurs();
    TraceCall("DrawTunnel");
    BeginSolidLayer();
    DrawTunnel();
    EndSolidLayer();
    if (On(scene.fireShown)) FirePass();
    TilesPass();
    AdditiveBlend();
    glDisable(GL_FOG);
    StarsPass();
    AdditiveBlend();
    glDisable(GL_FOG);
    ParticlesPass();
    TextPass(TextPass::AfterTunnel);
    if (!On(scene.blurActive)) glClearColor(scene.clearRed, scene.clearGreen, scene.clearBlue, 0.0f);
}

// With the tunnel and the radial blur both on, the tunnel sequence's radial
// capture clears the whole view: of all the main sequence draws, only the
// capture's corner lives on, under the sources the capture draws over it.
// The fast path keeps the main sequence's drawing to that corner; its
// animation steps all run as before.
bool TunnelCaptureWipesMainSequence() { return On(scene.tunnelShown) && On(scene.radialBlurOn); }

void KeepToCaptureCorner(bool corner) {
    if (!corner) return;
    const int side = RadialCaptureSide();
    glScissor(0, 0, side, side);
    glEnable(GL_SCISSOR_TEST);
}

}  // namespace

int RenderScene() {
    const bool corner = FastPathActive() && TunnelCaptureWipesMainSequence();
    KeepToCaptureCorner(corner);
    MainSequence();
    if (corner) glDisable(GL_SCISSOR_TEST);
    if (On(scene.tunnelShown)) TunnelSequence();
    if (Playing()) {
        TraceCall("AnimateText");
        AnimateText();
    }
    return 1;
}

}  // namespace quorbel
