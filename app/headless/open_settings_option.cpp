#include "app/headless/open_settings_option.h"

#include <cstdio>

#include "commands/documents.h"

namespace quorbel {

int OpenSettingsAfterFirstFrame(HeadlessEngine& engine, const HeadlessOptions& options) {
    if (options.openSettingsPath.empty()) return 0;
    engine.RenderFrames(1);
    if (OpenSettingsFile(options.openSettingsPath, options.title)) return 0;
    std::fprintf(stderr, "quorbel: the settings %s were not opened; nothing was rendered from them\n",
                 options.openSettingsPath.c_str());
    return 2;
}

}  // namespace quorbel
