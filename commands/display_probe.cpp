#include "commands/display_probe.h"

#include <cstdlib>
#include <filesystem>

namespace quorbel {

namespace {

bool Set(const char* value) { return value && value[0] != '\0'; }

// ":1" or ":1.0" is a local server listening on /tmp/.X11-unix/X1; any other
// form names a remote or special server that only a connection can check.
std::string LocalXSocket(const std::string& display) {
    if (display.empty() || display[0] != ':') return {};
    std::string number = display.substr(1, display.find('.') == std::string::npos ? std::string::npos
                                                                                   : display.find('.') - 1);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) return {};
    return "/tmp/.X11-unix/X" + number;
}

DisplayProbe ProbeWayland(const char* name, const EnvironmentLookup& environment, const PathExists& exists) {
    std::string path = name;
    if (path[0] != '/') {
        const char* runtime = environment("XDG_RUNTIME_DIR");
        if (!Set(runtime)) return {false, "WAYLAND_DISPLAY is set but XDG_RUNTIME_DIR is not"};
        path = std::string(runtime) + "/" + path;
    }
    if (!exists(path)) return {false, "no Wayland server at " + path};
    return {true, "Wayland display " + std::string(name)};
}

DisplayProbe ProbeX11(const std::string& display, const PathExists& exists) {
    std::string socket = LocalXSocket(display);
    if (!socket.empty() && !exists(socket))
        return {false, "DISPLAY is " + display + " but no X server listens there (" + socket + " is missing)"};
    return {true, "X display " + display};
}

}  // namespace

DisplayProbe ProbeDisplay(const EnvironmentLookup& environment, const PathExists& exists) {
    if (const char* platform = environment("QT_QPA_PLATFORM"); Set(platform))
        return {true, "QT_QPA_PLATFORM=" + std::string(platform)};
    DisplayProbe probe{false, "neither DISPLAY nor WAYLAND_DISPLAY is set"};
    if (const char* display = environment("DISPLAY"); Set(display)) {
        probe = ProbeX11(display, exists);
        if (probe.available) return probe;
    }
    if (const char* wayland = environment("WAYLAND_DISPLAY"); Set(wayland)) {
        DisplayProbe waylandProbe = ProbeWayland(wayland, environment, exists);
        if (waylandProbe.available || !Set(environment("DISPLAY"))) return waylandProbe;
    }
    return probe;
}

DisplayProbe ProbeDisplay() {
    return ProbeDisplay([](const char* name) { return std::getenv(name); },
                        [](const std::string& path) {
                            std::error_code error;
                            return std::filesystem::exists(path, error);
                        });
}

}  // namespace quorbel
