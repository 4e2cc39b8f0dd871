// The panels that bring a loaded scene into effect: the ones the first frame
// makes, and the ones Open makes again. Their first data exchange is what
// applies the loaded values, with or without a window.
#pragma once

namespace quorbel {

// The first frame's panels: a Text panel, hidden at once, and a Blur panel
// left on screen. Neither counts as opened by its Edit command.
void CreateStartupPanels();

// After Open has read a settings record: the open marks are cleared, the
// particle, star and tunnel panels are armed to take the loaded values, and
// a panel is made (hidden, except fire and blur) for every effect the loaded
// scene marks as used.
void RecreatePanelsAfterOpen();

// Hands CreateStartupPanels to the frame driver's start-up work.
void InstallPanelStartupStep();

}  // namespace quorbel
