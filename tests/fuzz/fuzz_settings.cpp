// Fuzz entry point for settings files: each input is opened as a settings
// file, then three frames are rendered with every effect shown on a small
// offscreen surface. A position that stops being finite is reported as a
// crash. libFuzzer calls this directly; the replay driver (replay_main.cpp)
// calls it once for each file it is given.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/headless/headless_engine.h"
#include "commands/documents.h"
#include "scene/frame_driver.h"
#include "scene/scene_state.h"
#include "scene/view_init.h"
#include "support/hostile_scene.h"

namespace {

constexpr int kSide = 32;
constexpr int kFrames = 3;

struct FuzzWorld {
    std::unique_ptr<quorbel::HeadlessEngine> engine;
    quorbel::SceneState baseline;
    std::filesystem::path runFolder;  // pictures linked in, a title file
    std::string inputPath;
};

// The program works in its current folder (pictures, "Text.TXT"), libFuzzer
// in its own (corpus, crash files): each input runs in the program's folder
// and goes back afterwards.
class InRunFolder {
public:
    explicit InRunFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InRunFolder() { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

std::filesystem::path MakeRunFolder() {
    const auto folder = std::filesystem::temp_directory_path() / ("quorbel-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    for (const char* pictures : {"Data", "gfx"}) {
        std::error_code exists;
        std::filesystem::create_directory_symlink(std::filesystem::path(QUORBEL_SOURCE_DIR) / pictures,
                                                  folder / pictures, exists);
    }
    std::FILE* title = std::fopen((folder / "Text.TXT").c_str(), "wb");
    if (!title) std::abort();
    std::fputs("Fuzz", title);
    std::fclose(title);
    return folder;
}

// Made once per process: the engine, the scene set up in the run folder,
// and the state every input starts from.
FuzzWorld& World() {
    static FuzzWorld* world = [] {
        auto* made = new FuzzWorld;
        std::string error;
        made->engine = quorbel::HeadlessEngine::Create(kSide, kSide, error);
        if (!made->engine) {
            std::fprintf(stderr, "fuzz_settings: no usable OpenGL: %s\n", error.c_str());
            std::exit(1);
        }
        made->runFolder = MakeRunFolder();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(World().runFolder, ignored);
        });
        made->inputPath = (made->runFolder / "input.qrl").string();
        InRunFolder inside(made->runFolder);
        quorbel::InitialiseView(kSide, kSide);
        quorbel::scene.startupStage = 2;
        made->baseline = quorbel::scene;
        return made;
    }();
    return *world;
}

void WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzWorld& world = World();
    InRunFolder inside(world.runFolder);
    quorbel::testing::RestartEffects(world.baseline);
    WriteInput(world.inputPath, data, size);
    // Any file that can be read is a valid record, whatever it holds.
    if (!quorbel::OpenSettingsFile(world.inputPath)) std::abort();
    quorbel::testing::ShowEveryEffect();
    for (int frame = 0; frame < kFrames; ++frame) {
        quorbel::RenderFrame();
        const std::string problem = quorbel::testing::NonFinitePosition();
        if (!problem.empty()) {
            std::fprintf(stderr, "fuzz_settings: %s after frame %d\n", problem.c_str(), frame + 1);
            std::abort();
        }
    }
    return 0;
}
