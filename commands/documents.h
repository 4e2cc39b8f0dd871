// New, Open and Save: the settings as a whole. There is no document beyond
// the scene parameters: no file name is remembered and nothing is marked as
// changed. Every operation here may reach OpenGL (textures, glyphs), so the
// view's context must be current.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>

namespace quorbel {

// The panels that a loaded record can mark as used, in the order Open
// re-creates them.
enum class UsedPanel { Particles, Text, Stars, Tunnel, Tiles, Fire, Blur };

// The hook the control panels fill in: create a new instance of `panel`,
// left on screen when `visible`, hidden at once otherwise. Its
// initialisation is what takes the loaded slider copies and check states
// into the effect's live values. Open calls it once per used panel, after
// the record is read and the open and restore marks are set, and then
// applies that panel's visibility switches. Unset, Open changes the scene
// state only.
using PanelRecreation = std::function<void(UsedPanel panel, bool visible)>;
PanelRecreation& RecreatePanelAfterOpen();

// New: every effect back to its built-in values, in one fixed pass.
void ResetToDefaults();

// Open: asks for a file ("Find a data file"); a cancelled chooser reads
// nothing. Then OpenSettingsFile.
void OpenSettings();
// Reads the title from "Text.TXT" in the current folder and the record from
// `path`, then re-creates the panels of the used marks. When either file
// cannot be read nothing changes, the failure goes to standard error and a
// message says so. Returns whether the settings were loaded. Given a
// `title` (UTF-8, within the title's rules), the scene takes that instead
// and the title file is neither read nor needed.
bool OpenSettingsFile(const std::string& path, const std::optional<std::string>& title = std::nullopt);

// Save: asks for a file name ("Find a data file"); a cancelled chooser
// writes nothing. A name without an extension gets ".qrl". Then
// SaveSettingsFile.
void SaveSettings();
// Writes the title to "Text.TXT" in the current folder and the record to
// `path`: both or neither. A
// failure leaves the previous files as they were, goes to standard error
// and a message says so. Returns whether both were written.
bool SaveSettingsFile(const std::string& path);

// The frame driver's start-up steps that belong to the settings: the record
// read from the open "settings.qrl" and the particle texture. Installs them,
// leaving the panel step as it is.
void InstallStartupSettingsSteps();
// The start-up read itself: the record from `file` into the scene (not the
// title: at start-up the title is the built-in one).
void ReadStartupSettings(std::FILE* file);

}  // namespace quorbel
