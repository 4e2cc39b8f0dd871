#include "commands/command_table.h"

#include <array>

#include "commands/command_ids.h"

namespace quorbel {

namespace {

using namespace command;

constexpr MenuItem kFileItems[] = {{"E&xit", kExit}};
constexpr MenuItem kViewItems[] = {
    {"&Toolbar", kToggleToolbar, true, true},
    {"&Status Bar", kToggleStatusBar, true, true},
};
// The trailing spaces of some items are part of their texts.
constexpr MenuItem kAviItems[] = {{"&Generate Avi ", kGenerateAvi}};
constexpr MenuItem kShowHideItems[] = {
    {"Tunnel ", kShowHideTunnel, false, true}, {"Stars ", kShowHideStars, false, true},
    {"Particles", kShowHideParticles, false, true}, {"Text ", kShowHideText, true, true},
    {"Tiles", kShowHideTiles, false, true},      {"Fire", kShowHideFire, false, true},
};
constexpr MenuItem kHelpItems[] = {
    {"&About Quorbel", kAbout},
    {"Online Help", kOnlineHelp},
    {"Online FAQ", kOnlineFaq},
};

constexpr std::array kMenus = {
    Menu{"&File", kFileItems},       Menu{"&View", kViewItems},         Menu{"&AVI Generation", kAviItems},
    Menu{"Show/Hide", kShowHideItems}, Menu{kHelpMenuTitle, kHelpItems},
};

constexpr ToolbarButton kToolbar[] = {
    {kNewSettings, 1},    {kOpenSettings, 1}, {kSaveSettings, 1},
    {kPlay, 2},           {kGenerateAvi, 2},  {kPause, 2},
    {kBackgroundColour, 3}, {kEditText, 3},   {kEditParticles, 3}, {kEditStars, 3},
    {kEditTunnel, 3},     {kEditTiles, 3},    {kEditFire, 3},      {kEditBlur, 3},
    {kAbout, 4},          {kInert, 4},
};

struct PromptRow {
    int command;
    const char* text;  // status text, "\n", short name
};

constexpr PromptRow kPrompts[] = {
    {kNewSettings, "Reset to default settings\nNew"},
    {kOpenSettings, "Open file\nOpen"},
    {kSaveSettings, "Save File\nSave"},
    {kPlay, "Play All effects\nPlay"},
    {kGenerateAvi, "Play and Record all effects\nPlay"},
    {kPause, "Pause all effects\nPause"},
    {kBackgroundColour, "Change Background Colour\nBackground Colour"},
    {kEditText, "Edit Text\nText"},
    {kEditParticles, "Edit Particle Effects\nParticles"},
    {kEditStars, "Edit Star Effects\nStars"},
    {kEditTunnel, "Edit Tunnel\nTunnel"},
    {kEditTiles, "Edit Tile Effect\nTile"},
    {kEditFire, "Fire"},
    {kAbout, "About Quorbel\nAbout"},
    {kExit, "Quit the application; prompts to save documents\nExit"},
    {kToggleStatusBar, "Show or hide the status bar\nToggle StatusBar"},
    {kTipOfTheDay, "Displays a Tip of the Day."},
};

constexpr Accelerator kAccelerators[] = {
    {"Ctrl+N", kFileNew},
    {"Ctrl+O", kFileOpen},
    {"Ctrl+S", kFileSave},
};

}  // namespace

std::span<const Menu> MainMenu() { return kMenus; }
std::span<const ToolbarButton> Toolbar() { return kToolbar; }
std::span<const Accelerator> Accelerators() { return kAccelerators; }

std::optional<Prompt> CommandPrompt(int command) {
    for (const PromptRow& row : kPrompts) {
        if (row.command != command) continue;
        std::string_view text = row.text;
        auto lineBreak = text.find('\n');
        if (lineBreak == std::string_view::npos) return Prompt{text, {}};
        return Prompt{text.substr(0, lineBreak), text.substr(lineBreak + 1)};
    }
    return std::nullopt;
}

}  // namespace quorbel
