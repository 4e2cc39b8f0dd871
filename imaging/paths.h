// One resolver for every file the program opens. The program's file names
// are written the Windows way ("Data\Fire.bmp", "Gfx/matrix.bmp"): a
// backslash is a separator, and a path component that does not exist with
// its exact case matches an entry that differs only in case.
#pragma once

#include <string>
#include <string_view>

namespace quorbel {

// The path to open on this system. When no existing file matches, the
// path comes back with its separators converted and its case unchanged, so
// the caller's open fails with the usual error.
std::string ResolvePath(std::string_view path);

}  // namespace quorbel
