#include "scene/frame_driver.h"

#include <cerrno>
#include <cstring>

#include "scene/scene_composition.h"
#include "scene/scene_state.h"

namespace quorbel {

namespace {

constexpr const char* kStartupSettingsFile = "settings.qrl";
// The open failure is reported once per missing spell, not every frame: a
// program that runs at hundreds of frames per second would flood stderr.
bool openFailureReported = false;

void ReportOpenFailure(int error) {
    if (openFailureReported) return;
    openFailureReported = true;
    std::fprintf(stderr, "\nOpen failed! : %s\n", std::strerror(error));
}

void ResetPanelBookkeeping() {
    scene.particleZoomRestore = 2;
    scene.particlePanelInitDone = 0;
    scene.starPanelRestore = 2;
    scene.tunnelPanelRestore = 2;
    scene.particlePanelPresses = 0;
    scene.starPanelPresses = 0;
    scene.tunnelPanelPresses = 0;
    scene.tilePanelPresses = 0;
    scene.firePanelPresses = 0;
    scene.textPanelOpen = 0;
    scene.particlePanelOpen = 0;
    scene.starPanelOpen = 0;
    scene.tilePanelOpen = 0;
    scene.firePanelOpen = 0;
}

void RunStartupWork(std::FILE* file) {
    StartupSteps& steps = FrameDriverStartupSteps();
    if (steps.readSettings) steps.readSettings(file);
    if (steps.loadParticleTexture) steps.loadParticleTexture();
    // Shown and hidden again: the particles stay hidden after start-up.
    scene.particlesShown = 2;
    scene.particlesShown = 0;
    std::fclose(file);
    ResetPanelBookkeeping();
    if (steps.createStartupPanels) steps.createStartupPanels();
    scene.startupStage = 2;
}

}  // namespace

StartupSteps& FrameDriverStartupSteps() {
    static StartupSteps steps;
    return steps;
}

void ResetOpenFailureReport() { openFailureReported = false; }

int RenderFrame() {
    RenderScene();
    if (scene.startupStage >= 2) return 1;
    std::FILE* file = std::fopen(kStartupSettingsFile, "rb");
    if (!file) {
        ReportOpenFailure(errno);
        return 0;
    }
    openFailureReported = false;
    RunStartupWork(file);
    return 1;
}

}  // namespace quorbel
