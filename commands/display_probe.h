// Whether a window can be opened: the program opens its window when a
// display is there and renders headless otherwise, saying which.
#pragma once

#include <functional>
#include <string>

namespace quorbel {

struct DisplayProbe {
    bool available = false;
    std::string description;  // what was found, or why there is none
};

using EnvironmentLookup = std::function<const char*(const char*)>;
using PathExists = std::function<bool(const std::string&)>;

// Looks at QT_QPA_PLATFORM (the user's explicit choice), WAYLAND_DISPLAY and
// DISPLAY. A local X display counts only when its server's socket exists, so
// a stale DISPLAY does not end the program with a connection failure.
DisplayProbe ProbeDisplay(const EnvironmentLookup& environment, const PathExists& exists);
// The same on the real environment and file system.
DisplayProbe ProbeDisplay();

}  // namespace quorbel
