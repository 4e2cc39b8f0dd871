// Where the commands hand over to the control panels. The Edit commands do
// their own bookkeeping (counters, visibility, check marks, keyboard target)
// and then call these hooks at the point where a panel is created or its
// default-button slot released; the panels fill them in. An unset hook does
// nothing, so every command works before any panel exists.
#pragma once

#include <functional>

namespace quorbel {

// The panel kinds, numbered as their dialog templates.
enum class PanelKind {
    Text = 130,
    Particles = 101,
    Stars = 131,
    Tunnel = 132,
    Tiles = 137,
    Fire = 138,
    Blur = 140,
};

struct PanelHooks {
    // Creates a new visible panel of the kind (runs its initialisation).
    std::function<void(PanelKind)> createPanel;
    // Frees the kind's default-button slot for the next instance.
    std::function<void(PanelKind)> releaseOkSlot;
};

PanelHooks& CommandPanelHooks();

// Calls the hook when it is set.
void CreatePanel(PanelKind kind);
void ReleaseOkSlot(PanelKind kind);

}  // namespace quorbel
