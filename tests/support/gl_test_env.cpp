#include "support/gl_test_env.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "scene/scene_state.h"
#include "scene/view_init.h"
#include "settings/settings_record.h"

namespace quorbel::testing {

HeadlessEngine* Engine(int width, int height) {
    static std::string error;
    static std::unique_ptr<HeadlessEngine> engine = HeadlessEngine::Create(width, height, error);
    if (!engine) ADD_FAILURE() << "no usable OpenGL: " << error;
    return engine.get();
}

HeadlessEngine* FreshScene() {
    HeadlessEngine* engine = Engine();
    if (!engine) return nullptr;
    std::error_code ignored;
    std::filesystem::current_path(SourceDir(), ignored);
    scene = SceneState{};
    InitialiseView(engine->width(), engine->height());
    return engine;
}

std::string SourceDir() { return QUORBEL_SOURCE_DIR; }

TempDirectory::TempDirectory() {
    previous_ = std::filesystem::current_path().string();
    std::string pattern = (std::filesystem::temp_directory_path() / "quorbel-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = buffer.data();
    std::filesystem::current_path(path_);
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TempDirectory::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        if (!entry.is_symlink()) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void LinkDefaultPictures() {
    for (const char* folder : {"Data", "gfx"})
        std::filesystem::create_directory_symlink(std::filesystem::path(SourceDir()) / folder, folder);
}

double Field(const std::string& name) {
    std::optional<std::string> text = GetSceneField(scene, name);
    if (!text) ADD_FAILURE() << "no scene field " << name;
    return text ? std::stod(*text) : 0.0;
}

void SpinTheTitle() {
    scene.textSpinY = 2;
    scene.textSpinSpeedY = 20;
}

void WriteEmptySettingsFile(const std::string& path) {
    std::ofstream(path, std::ios::binary) << std::string(kSettingsFileSize, '\0');
}

Rgb PixelAt(const std::vector<std::uint8_t>& rgb, int width, int x, int y) {
    std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
    return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

int CountLitPixels(const std::vector<std::uint8_t>& rgb, int threshold) {
    int count = 0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        if (rgb[i] > threshold || rgb[i + 1] > threshold || rgb[i + 2] > threshold) ++count;
    return count;
}

}  // namespace quorbel::testing
