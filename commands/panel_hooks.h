// Where the commands hand over to the control panels. The Edit commands do
// their own bookkeeping (counters, visibility, check marks, keyboard target)
// and then call these hooks at the point where a panel is created or its
// default-button slot released; the panels fill them in. An unset hook does
// nothing, so every command works before any panel exists.
#pragma once

#include <functional>
#include <iterator>

#include "panels/panel_template.h"

namespace quorbel {

// The panel kinds the Edit commands open: every kind of panel there is.
enum class ControlPanel { Text, Particles, Stars, Tunnel, Tiles, Fire, Blur };
inline constexpr ControlPanel kControlPanels[] = {ControlPanel::Text,  ControlPanel::Particles, ControlPanel::Stars,
                                                  ControlPanel::Tunnel, ControlPanel::Tiles,   ControlPanel::Fire,
                                                  ControlPanel::Blur};
static_assert(std::size(kControlPanels) == kPanelKindCount);

struct ControlPanelHooks {
    // Creates a new visible panel of the kind (runs its initialisation).
    std::function<void(ControlPanel)> createPanel;
    // Frees the kind's default-button slot for the next instance.
    std::function<void(ControlPanel)> releaseOkSlot;
};

ControlPanelHooks& EditPanelHooks();

// Calls the hook when it is set.
void OpenControlPanel(ControlPanel kind);
void ReleaseDefaultButtonSlot(ControlPanel kind);
// For every kind: while Generate AVI runs, its dialog takes the default
// button from any open panel.
void ReleaseEveryDefaultButtonSlot();

}  // namespace quorbel
