// The settings record and the title on disk.
#pragma once

#include <optional>
#include <string>

#include "scene/scene_state.h"

namespace quorbel {

// Reads the record at `path` into `state`. Returns the reason when the file
// cannot be opened or read; nothing changes then.
std::optional<std::string> ReadSettingsFile(const std::string& path, SceneState& state);

// Writes the title of `state` to "Text.TXT" in the current folder and its
// record to `settingsPath`: both or neither. On failure the previous files
// are left exactly as they were and the reason is returned.
std::optional<std::string> WriteSettings(const std::string& settingsPath, const SceneState& state);

}  // namespace quorbel
