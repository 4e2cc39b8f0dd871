// The one check every writer makes before it puts a file in place. Writers
// write a temporary file and rename it over the target, and a rename
// replaces whatever has that name: run as root, saving to a device node, a
// named pipe or a link to one would turn it into a plain file. So a target
// that exists and is not a regular file (after following symbolic links) is
// refused and left as it is.
#pragma once

#include <optional>
#include <string>

namespace quorbel {

// Nothing when `path` may be written (it does not exist yet, or it is a
// regular file or a link to one); otherwise the message for the user,
// naming the file and what it is: "cannot write PATH: it is a named pipe,
// not a regular file; it was left as it is".
std::optional<std::string> WriteTargetRefusal(const std::string& path);

}  // namespace quorbel
