// The title as the scene holds it: UTF-8, '\n' between lines, no other
// control characters, at most 255 characters. Whatever hands a title in (the
// title file, the Text panel, the command line) goes through here, so every
// way in keeps the same rules. Characters are Unicode code points.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "scene/scene_state.h"

namespace quorbel {

constexpr std::size_t kMaxTitleCharacters = TextField::kMaxCharacters;

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF,
// no character cut short.
bool IsValidUtf8(std::string_view text);
// The characters of valid UTF-8 text.
std::size_t CharacterCount(std::string_view utf8);
// The bytes of the first `limit` characters of `text`, or nothing when
// invalid UTF-8 comes first.
std::optional<std::string_view> LeadingUtf8(std::string_view text, std::size_t limit);

// 8-bit text of older files (Windows-1252) to UTF-8. The five codes that
// the code page leaves unassigned become the C1 controls of the same value.
std::string Windows1252ToUtf8(std::string_view bytes);
// UTF-8 to Windows-1252, or nothing when some character has no code there.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

// Text of unknown encoding as UTF-8: valid UTF-8 (a leading byte-order mark
// dropped) as it is, anything else read as Windows-1252, so no text is
// refused for its bytes.
std::string TextAsUtf8(std::string_view bytes);
// TextAsUtf8 without the control characters a title leaves out (all but
// '\n'). Not cut to length: callers decide between cutting and refusing.
std::string TitleFromText(std::string_view bytes);
bool FitsInTitle(std::string_view utf8);
// The control characters a title leaves out: C0 and C1 controls and DEL,
// all but the line break.
bool IsDroppedTitleControl(char32_t code);

// The command line's spelling of a title: "\n" is a line break and "\\" a
// backslash; any other backslash stays as it is.
std::string UnescapeTitle(std::string_view text);

}  // namespace quorbel
