// Connects the core's window commands (leave, the bars, About, the tip box)
// to this window.
#pragma once

namespace quorbel::gui {

class CMainFrame;

void InstallShellHooks(CMainFrame& frame);
// Forgets them again (before the window goes away).
void RemoveShellHooks();

}  // namespace quorbel::gui
