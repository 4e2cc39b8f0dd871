// Writes RGB pictures as PNG files (snapshots, test evidence).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorbel {

// `rgb` holds width x height x 3 bytes, bottom row first (as glReadPixels
// gives them). The file is written under a temporary name and renamed, so a
// failure never leaves a half-written picture. Returns an error message, or
// nothing on success.
std::optional<std::string> WritePngBottomUp(const std::string& path, int width, int height,
                                            const std::vector<std::uint8_t>& rgb);

}  // namespace quorbel
