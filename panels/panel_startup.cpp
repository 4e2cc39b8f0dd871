#include "panels/panel_startup.h"

#include "panels/panel_registry.h"
#include "scene/frame_driver.h"
#include "scene/scene_state.h"

namespace quorbel {

void CreateStartupPanels() {
    scene.textUsed = 2;
    CreatePanel(PanelKind::Text, false);
    scene.textPanelOpen = 0;
    scene.blurUsed = 2;
    CreatePanel(PanelKind::Blur, true);
    // The first Edit Blur makes a second panel rather than toggling this one.
    scene.blurPanelOpen = 0;
    scene.textUsed = 0;
    scene.blurUsed = 0;
}

void RecreatePanelsAfterOpen() {
    // The marks as loaded: making one panel must not decide about the next.
    const bool particles = On(scene.particlesUsed), text = On(scene.textUsed), stars = On(scene.starsUsed),
               tunnel = On(scene.tunnelUsed), tiles = On(scene.tilesUsed), fire = On(scene.fireUsed),
               blur = On(scene.blurUsed);
    scene.textPanelOpen = scene.particlePanelOpen = scene.starPanelOpen = scene.tunnelPanelOpen = 0;
    scene.tilePanelOpen = scene.firePanelOpen = scene.blurPanelOpen = 0;
    scene.particleZoomRestore = scene.starPanelRestore = scene.tunnelPanelRestore = 2;
    if (particles) {
        CreatePanel(PanelKind::Particles, false);
        scene.particlesShown = 2;
    }
    if (text) {
        CreatePanel(PanelKind::Text, false);
        scene.textPanelOpen = 0;
    }
    if (stars) {
        scene.keyTarget = 4;
        CreatePanel(PanelKind::Stars, false);
        scene.starsHidden = 0;
    }
    if (tunnel && scene.tunnelPanelOpen < 2) {
        scene.tunnelPanelPresses = 0;
        CreatePanel(PanelKind::Tunnel, false);
        scene.tunnelShown = scene.tunnelRebuildPending = 2;
        scene.tunnelPanelOpen = 2;
    }
    if (tiles && scene.tilePanelOpen < 2) {
        CreatePanel(PanelKind::Tiles, false);
        scene.tilePanelOpen = scene.tilesShown = 2;
    }
    if (fire && scene.firePanelOpen < 2) {
        scene.fireShown = 2;
        scene.fireToggleCount = 1;
        CreatePanel(PanelKind::Fire, true);
        scene.firePanelOpen = 0;
    }
    if (blur && scene.blurPanelOpen < 2) {
        CreatePanel(PanelKind::Blur, true);
        scene.blurPanelOpen = 0;
    }
}

void InstallPanelStartupStep() { FrameDriverStartupSteps().createStartupPanels = CreateStartupPanels; }

}  // namespace quorbel
