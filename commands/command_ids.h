// The numbers of the menu, toolbar and accelerator commands. The window,
// the command dispatcher and the tests all name a command by these.
#pragma once

namespace quorbel::command {

// File and framework commands.
inline constexpr int kExit = 57665;
inline constexpr int kToggleToolbar = 59392;
inline constexpr int kToggleStatusBar = 59393;
inline constexpr int kAbout = 57664;
inline constexpr int kTipOfTheDay = 110;
// Reached only through the accelerators Ctrl+N, Ctrl+O and Ctrl+S.
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;

// Settings documents.
inline constexpr int kNewSettings = 32886;
inline constexpr int kOpenSettings = 32882;
inline constexpr int kSaveSettings = 32885;

// Recording and animation.
inline constexpr int kGenerateAvi = 32771;
inline constexpr int kPlay = 32883;
inline constexpr int kPause = 32884;
inline constexpr int kBackgroundColour = 32879;

// Show/Hide.
inline constexpr int kShowHideTunnel = 32795;
inline constexpr int kShowHideStars = 32796;
inline constexpr int kShowHideParticles = 32854;
inline constexpr int kShowHideText = 32823;
inline constexpr int kShowHideTiles = 32869;
inline constexpr int kShowHideFire = 32888;

// Edit commands, each opening a control panel.
inline constexpr int kEditText = 32881;
inline constexpr int kEditParticles = 32875;
inline constexpr int kEditStars = 32876;
inline constexpr int kEditTunnel = 32877;
inline constexpr int kEditTiles = 32878;
inline constexpr int kEditFire = 32887;
inline constexpr int kEditBlur = 32890;

// Help.
inline constexpr int kOnlineHelp = 32866;
inline constexpr int kOnlineFaq = 32867;

// A toolbar button that does nothing.
inline constexpr int kInert = 32889;

}  // namespace quorbel::command
