// The Edit commands: each opens its effect's control panel and, except
// Blur, shows the effect and points the arrow keys at it. The first press
// creates a panel; the second only forgets it (the panel stays on screen),
// so the third press creates another instance.
#pragma once

#include "commands/panel_hooks.h"

namespace quorbel {

// One press of the Edit command of `kind`. `glCurrent` says whether the
// view's context is current, which loading the particle texture needs.
void RunEditCommand(ControlPanel kind, bool glCurrent);

// The Edit command number of a panel kind.
int EditCommand(ControlPanel kind);

}  // namespace quorbel
