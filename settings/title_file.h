// "Text.TXT": the title as plain 8-bit characters, no terminator, no line
// end. It always lives in the current folder, whatever folder the settings
// file is in. It is written whole and read back only up to its first 80
// bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "scene/scene_state.h"

namespace quorbel {

extern const char* const kTitleFileName;
constexpr std::size_t kTitleReadLimit = 80;

// Replaces `title` with the first 80 bytes of the file at `path`. Returns
// the reason when the file cannot be opened or read; `title` is unchanged
// then.
std::optional<std::string> ReadTitleFile(const std::string& path, TextField& title);

// The bytes the title file holds for `title`.
std::span<const std::uint8_t> TitleFileBytes(const TextField& title);

}  // namespace quorbel
