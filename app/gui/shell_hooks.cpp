#include "app/gui/shell_hooks.h"

#include "app/gui/about_dialog.h"
#include "app/gui/main_frame.h"
#include "app/gui/tip_dialog.h"
#include "commands/commands.h"

namespace quorbel::gui {

void InstallShellHooks(CMainFrame& frame) {
    CommandHooks& hooks = ShellCommandHooks();
    hooks.exitApplication = [&frame] { frame.close(); };
    hooks.toggleToolbar = [&frame] { frame.ToggleToolbar(); };
    hooks.toggleStatusBar = [&frame] { frame.ToggleStatusBar(); };
    hooks.showAbout = [&frame] {
        AboutDialog about(&frame);
        about.exec();
    };
    hooks.showTipOfTheDay = [&frame] { OpenTipBox(&frame); };
    // Generate Avi, New, Open and Save are set by the layers that own them.
}

void RemoveShellHooks() {
    CommandHooks& hooks = ShellCommandHooks();
    hooks.exitApplication = nullptr;
    hooks.toggleToolbar = nullptr;
    hooks.toggleStatusBar = nullptr;
    hooks.showAbout = nullptr;
    hooks.showTipOfTheDay = nullptr;
}

}  // namespace quorbel::gui
