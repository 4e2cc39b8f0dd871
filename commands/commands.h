// The command dispatcher: every menu, toolbar and accelerator command of the
// window arrives here by number. What a command does to the scene is done
// here; what only the window can do (its bars, its dialogs, leaving) and the
// operations of other layers are reached through hooks that are set at
// start-up. An unset hook makes its command do nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace quorbel {

struct CommandHooks {
    // The window's own commands.
    std::function<void()> exitApplication;
    std::function<void()> toggleToolbar;
    std::function<void()> toggleStatusBar;
    std::function<void()> showAbout;
    std::function<void()> showTipOfTheDay;
    // The recording dialog; set by the window's recording code. Unset, the
    // Generate Avi command does nothing.
    std::function<void()> generateAvi;
    // The settings documents: reset to defaults, open, save (Ctrl+S too).
    // Not yet connected to the settings operations: until they are, New,
    // Open and Save do nothing, and in particular never write a file.
    std::function<void()> newSettings;
    std::function<void()> openSettings;
    std::function<void()> saveSettings;
};

CommandHooks& ShellCommandHooks();

// Runs `command` with the view's GL context made current first. Returns
// false, doing nothing, when the number is not one of the program's commands.
bool ExecuteCommand(int command);
bool IsKnownCommand(int command);

// Background colour: the chooser, or a warning while a blur is selected.
inline constexpr const char* kBlurBlocksBackgroundMessage = "Not available while blur is selected.";
void ChangeBackgroundColour();
// Makes `colour` (0x00BBGGRR) the clear colour and its saved copy.
void ApplyBackgroundColour(std::uint32_t colour);

// The name Ctrl+O gave the content-less document (empty after Ctrl+N). The
// file is never read or written through it.
const std::string& DocumentName();

// The scene initialisation the view runs on its first update, run again at
// the current view size (after Ctrl+N and Ctrl+O). Needs the GL context.
void ReinitialiseScene();

}  // namespace quorbel
