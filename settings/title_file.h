// "Text.TXT": the title, no terminator, no line end after it. It always
// lives in the current folder, whatever folder the settings file is in. It
// is written whole and read back only up to its first 80 characters.
//
// Older files hold 8-bit text (Windows-1252); a title those bytes cannot
// carry is written as UTF-8 behind a byte-order mark. Reading tells the two
// apart: a byte-order mark, or valid UTF-8 with some byte above 127, is
// UTF-8; anything else, invalid UTF-8 included, is 8-bit text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scene/scene_state.h"

namespace quorbel {

extern const char* const kTitleFileName;
constexpr std::size_t kTitleReadLimit = 80;  // characters

// Replaces `title` with the first 80 characters of the file at `path`, less
// control characters other than line breaks. Returns the reason when the
// file cannot be opened or read; `title` is unchanged then.
std::optional<std::string> ReadTitleFile(const std::string& path, TextField& title);

// The title that the bytes of a title file hold.
std::string TitleFromFileBytes(std::string_view bytes);
// The bytes the title file holds for the UTF-8 `title`: 8-bit text when
// every character has an 8-bit code and those bytes read back as 8-bit
// text, so older readers keep working; UTF-8 with a byte-order mark else.
std::string TitleFileBytes(std::string_view title);

}  // namespace quorbel
