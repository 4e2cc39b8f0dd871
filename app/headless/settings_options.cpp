#include "app/headless/settings_options.h"

#include <cstdio>

#include "commands/documents.h"
#include "scene/frame_driver.h"
#include "scene/scene_state.h"

namespace quorbel {

void InstallHeadlessStartup(const HeadlessOptions& options) {
    InstallStartupSettingsSteps();
    FrameDriverStartupSteps().readSettings = [sets = options.sets](std::FILE* file) {
        ReadStartupSettings(file);
        for (const auto& [name, value] : sets) SetSceneField(scene, name, value);
    };
}

int SaveSettingsAfterRun(const std::string& path) {
    if (!SaveSettingsFile(path)) return 2;
    std::fprintf(stderr, "quorbel: wrote settings %s and the title to Text.TXT\n", path.c_str());
    return 0;
}

}  // namespace quorbel
