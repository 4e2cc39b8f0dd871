// Hands the control panels to the places that make them: the Edit commands,
// the frame driver's start-up work and Open. The window and the headless
// mode both install them, so a loaded scene comes into effect the same way.
#pragma once

namespace quorbel {

void InstallControlPanels();
// Forgets them again (tests, a window going away).
void RemoveControlPanels();

}  // namespace quorbel
