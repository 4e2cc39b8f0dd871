#include "bench/scenes.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "scene/scene_state.h"

namespace quorbel::bench {

bool EnterDataFolder() {
    namespace fs = std::filesystem;
    if (fs::exists("Data/Fire.bmp")) return true;
    std::error_code error;
    fs::path folder = fs::canonical("/proc/self/exe", error).parent_path();
    for (int up = 0; up < 4 && !folder.empty(); ++up, folder = folder.parent_path()) {
        if (fs::exists(folder / "Data" / "Fire.bmp")) {
            fs::current_path(folder, error);
            return !error;
        }
    }
    return false;
}

void FreshScene(HeadlessEngine& engine, const char* tool) {
    scene = SceneState{};
    if (!engine.InitialiseScene()) std::fprintf(stderr, "%s: a start-up picture is missing\n", tool);
    scene.startupStage = 2;
}

void DefaultScene(HeadlessEngine& engine, const char* tool) {
    FreshScene(engine, tool);
    scene.particlesShown = 2;
}

void HeavyScene(HeadlessEngine& engine, const char* tool) {
    FreshScene(engine, tool);
    scene.particleCount = 30000;
    scene.particlesShown = 2;
    scene.particleSpeed = 85.0f;
    scene.tunnelShown = 2;
    scene.tunnelRebuildPending = 2;
    scene.starsHidden = 0;
    scene.starsToggleCount = 1;
    scene.tilesShown = 2;
    scene.fireShown = 2;
    scene.radialBlurOn = 2;
    scene.blurActive = 2;
    scene.radialText = 2;
    scene.radialParticles = 2;
    scene.blurDensity = 100.0f;  // 125 layers
    scene.blurFadeAlpha = 100.0f;
    scene.blurLayerRed = scene.blurLayerGreen = scene.blurLayerBlue = 1.0f;
}

}  // namespace quorbel::bench
