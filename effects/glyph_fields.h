// Which scene fields the title's glyphs are built from. The glyph lists are
// built once (BuildTextFont) and kept, so a new value in one of these fields
// shows only after they are built again; every other field takes effect on
// the next frame.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace quorbel {

bool ChangesGlyphs(std::string_view fieldName);

// Sets each NAME=VALUE on the scene (names and values checked beforehand),
// in order, then builds the glyphs again once if any of them shapes them.
// The GL context must be current.
void SetFieldsRebuildingGlyphs(std::span<const std::pair<std::string, std::string>> fields);

}  // namespace quorbel
