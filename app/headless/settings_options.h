// The headless mode's part in the settings documents: the start-up read of
// "settings.qrl" (with the --set values winning over the file) and
// --save-settings.
#pragma once

#include <string>

#include "app/headless/headless_runner.h"

namespace quorbel {

// Reads "settings.qrl" at start-up as the window does, then applies the
// --set values again, so that a field named on the command line keeps its
// value whatever the file and the rest of start-up say.
void InstallHeadlessStartup(const HeadlessOptions& options);

// Writes the settings to `path` and the title to "Text.TXT" in the current
// folder. Returns the exit status: 0, or 2 after saying what failed.
int SaveSettingsAfterRun(const std::string& path);

}  // namespace quorbel
