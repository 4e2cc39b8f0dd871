// Replacing files so that a failure never destroys what was there: every
// new content is written in full under a temporary name beside its target
// and flushed to disk, and only then renamed over the targets.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quorbel {

struct FileContent {
    std::string path;
    std::span<const std::uint8_t> bytes;
};

// Writes every file, or none: when anything fails before the renames (a
// folder that cannot be written, a full disk, a read-only file, a target
// that is not a regular file: a folder, a pipe, a device) the temporaries
// are removed, every existing file is left as it was, and the reason is
// returned ("cannot write PATH: REASON").
// A target that is a symbolic link is replaced through the link.
std::optional<std::string> ReplaceFiles(std::span<const FileContent> files);

}  // namespace quorbel
