// What the window offers, as data: the main menu, the toolbar, the status
// prompts and the accelerators. The window builds itself from these tables,
// so the texts live in one place and the tests read the same rows.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace quorbel {

// The window caption and the title of the program's message boxes.
inline constexpr const char* kApplicationName = "Quorbel";

struct MenuItem {
    const char* text;  // "&" marks the mnemonic
    int command;
    bool checkedAtStart = false;
    bool checkable = false;
};

struct Menu {
    const char* title;
    std::span<const MenuItem> items;
};

std::span<const Menu> MainMenu();

// Added at the top of the "&Help" menu, followed by a separator, when the
// window starts (see the window's menu set-up).
inline constexpr const char* kHelpMenuTitle = "&Help";
inline constexpr const char* kTipOfTheDayItemText = "Ti&p of the Day...";

// A toolbar button, left to right; a new group starts after a separator.
struct ToolbarButton {
    int command;
    int group;
};

std::span<const ToolbarButton> Toolbar();

// A command's prompt: the status-bar text, and the short name after the
// line break (empty when the prompt has none).
struct Prompt {
    std::string_view statusText;
    std::string_view shortName;
};

// Nothing for a command without a prompt string.
std::optional<Prompt> CommandPrompt(int command);

struct Accelerator {
    const char* keys;  // e.g. "Ctrl+N"
    int command;
};

std::span<const Accelerator> Accelerators();

}  // namespace quorbel
