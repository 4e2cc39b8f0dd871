// --settings FILE: the headless mode opens a saved scene as the window's
// Open does, so the scene renders the same with and without a window.
#pragma once

#include "app/headless/headless_engine.h"
#include "app/headless/headless_runner.h"

namespace quorbel {

// With --settings: renders the first frame (and its start-up work), then
// opens the file and "Text.TXT" from the current folder (or takes the
// --title instead of the latter) as Open does (the
// panels of the used effects are made and bring the saved values into
// effect); the run's frames follow. Without it, does nothing. Returns 0, or
// 2 after saying why the settings could not be opened.
int OpenSettingsAfterFirstFrame(HeadlessEngine& engine, const HeadlessOptions& options);

}  // namespace quorbel
