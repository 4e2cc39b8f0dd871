// The Show/Hide toggles. Each effect has a visibility field and a press
// counter; the counter, not the field, decides what the next press does, so
// a counter left at 1 by a settings file or an Edit command makes the next
// press a hiding one even when the effect is hidden already.
#pragma once

#include <cstdint>

namespace quorbel {

enum class Effect { Tunnel, Stars, Particles, Text, Tiles, Fire };

// One press of the effect's Show/Hide command: counts the press, shows or
// hides the effect, sets the menu check mark and runs the effect's extras.
void ToggleEffect(Effect effect);

// The effect's Show/Hide command number.
int ShowHideCommand(Effect effect);

// Marks the effect's Show/Hide menu item (the Edit commands do this when
// they show an effect).
void CheckShowHideItem(Effect effect);

// Adds one press to a counter, saturating rather than overflowing.
void CountPress(std::int32_t& counter);

}  // namespace quorbel
