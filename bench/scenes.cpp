#include "bench/scenes.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "scene/view_init.h"

#include "scene/scene_state.h"
#include "support/heavy_scene.h"

namespace quorbel::bench {

HeadlessEngine* SharedViewEngine() {
    static std::string error;
    static std::unique_ptr<HeadlessEngine> engine = [] {
        auto made = HeadlessEngine::Create(720, 480, error);
        if (made) InitialiseView(made->width(), made->height());
        return made;
    }();
    return engine.get();
}

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
    testing::MakeSceneHeavy();
}

}  // namespace quorbel::bench
