// Opening a file the user named, for reading, without the traps of special
// files: a pipe would wait for a writer for ever and a device may never end.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace quorbel {

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// The file at `path` open for binary reading, or null with `error` saying
// why (the system's text, or that it is a folder or not a regular file).
FileHandle OpenForReading(const std::string& path, std::string& error);

}  // namespace quorbel
