#include "app/gui/shell_hooks.h"

#include "app/gui/about_dialog.h"
#include "app/gui/main_frame.h"
#include "app/gui/recording_window.h"
#include "app/gui/tip_dialog.h"
#include "commands/commands.h"
#include "commands/documents.h"
#include "commands/panel_wiring.h"

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
    hooks.newSettings = [] { ResetToDefaults(); };
    hooks.openSettings = [] { OpenSettings(); };
    hooks.saveSettings = [] { SaveSettings(); };
    // Read "settings.qrl" on the first frame that can, as the headless mode does.
    InstallStartupSettingsSteps();
    // Edit commands, the first frame and Open make the control panels.
    InstallControlPanels();
    InstallRecordingCommand(frame);
}

void RemoveShellHooks() {
    CommandHooks& hooks = ShellCommandHooks();
    hooks.exitApplication = nullptr;
    hooks.toggleToolbar = nullptr;
    hooks.toggleStatusBar = nullptr;
    hooks.showAbout = nullptr;
    hooks.showTipOfTheDay = nullptr;
    hooks.newSettings = nullptr;
    hooks.openSettings = nullptr;
    hooks.saveSettings = nullptr;
    RemoveControlPanels();
    RemoveRecordingCommand();
}

}  // namespace quorbel::gui
