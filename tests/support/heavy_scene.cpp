#include "support/heavy_scene.h"

#include "scene/scene_state.h"

namespace quorbel::testing {

void MakeSceneHeavy() {
    scene.particleCount = 30000;
    scene.particlesShown = 2;
    scene.particleSpeed = 85.0f;
    scene.tunnelShown = scene.tunnelRebuildPending = 2;
    scene.starsHidden = 0;
    scene.starsToggleCount = 1;
    scene.tilesShown = scene.fireShown = 2;
    scene.radialBlurOn = scene.blurActive = scene.radialText = scene.radialParticles = 2;
    scene.blurDensity = 100.0f;  // 125 layers
    scene.blurFadeAlpha = 100.0f;
    scene.blurLayerRed = scene.blurLayerGreen = scene.blurLayerBlue = 1.0f;
}

}  // namespace quorbel::testing
