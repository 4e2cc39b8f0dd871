// The one call that produces a frame: renders the scene, then, until it has
// succeeded once, does the start-up work that reads "settings.qrl".
#pragma once

#include <cstdio>
#include <functional>

namespace quorbel {

// Returns 1 when the frame and any start-up work completed, 0 when the
// start-up settings file could not be opened (it is tried again next frame).
int RenderFrame();

// The start-up steps that belong to later layers (the settings reader, the
// panels). Each is optional; an unset step does nothing.
struct StartupSteps {
    std::function<void(std::FILE*)> readSettings;
    std::function<void()> loadParticleTexture;
    std::function<void()> createStartupPanels;
};
StartupSteps& FrameDriverStartupSteps();

// Forgets that the open failure was reported (tests, a new run).
void ResetOpenFailureReport();

}  // namespace quorbel
