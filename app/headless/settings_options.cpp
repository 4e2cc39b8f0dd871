#include "app/headless/settings_options.h"

#include <cstdio>

#include "commands/documents.h"
#include "effects/glyph_fields.h"
#include "scene/frame_driver.h"

namespace quorbel {

void InstallHeadlessStartup(const HeadlessOptions& options) {
    InstallStartupSettingsSteps();
    // Start-up ends by hiding the particles and by letting the start-up
    // panels set their values from the file's slider positions; the --set
    // values go in after all of that, or `--set particlesShown=2` would be
    // quietly undone.
    StartupSteps& steps = FrameDriverStartupSteps();
    steps.createStartupPanels = [sets = options.sets, createPanels = steps.createStartupPanels] {
        if (createPanels) createPanels();
        SetFieldsRebuildingGlyphs(sets);
    };
}

int SaveSettingsAfterRun(const std::string& path) {
    if (!SaveSettingsFile(path)) return 2;
    std::fprintf(stderr, "quorbel: wrote settings %s and the title to Text.TXT\n", path.c_str());
    return 0;
}

}  // namespace quorbel
