// The panels the first frame makes: their first data exchange is what brings
// the loaded start-up settings into effect, with or without a window.
#pragma once

namespace quorbel {

// A Text panel, hidden at once, and a Blur panel left on screen. Neither
// counts as opened by its Edit command.
void CreateStartupPanels();

}  // namespace quorbel
