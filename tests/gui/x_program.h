// The real program on an X display, seen from outside: started in a
// prepared folder, its windows found by name and grabbed as pixels.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/gl_test_env.h"
#include "support/process.h"

namespace quorbel {

// The program, started in a prepared folder, ended when the test ends.
class RunningProgram {
public:
    // Starts `program` in `folder` with the test's environment plus `extra`
    // (NAME=VALUE entries); its output goes to a log beside it.
    RunningProgram(const std::string& folder, const std::string& program = QUORBEL_BINARY,
                   const std::vector<std::string>& extra = {})
        : log_(folder + "/quorbel.log") {
        pid_ = fork();
        if (pid_ != 0) return;
        for (const std::string& entry : extra) putenv(const_cast<char*>(entry.c_str()));
        if (chdir(folder.c_str()) != 0) _exit(127);
        FILE* log = std::fopen(log_.c_str(), "w");
        if (log) {
            dup2(fileno(log), 1);
            dup2(fileno(log), 2);
        }
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ~RunningProgram() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    bool Running() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }
    // Processor time the program has used so far, in seconds.
    double CpuSeconds() const {
        std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), {});
        auto afterName = text.rfind(')');
        if (afterName == std::string::npos) return -1;
        std::istringstream fields(text.substr(afterName + 2));
        std::string field;
        double ticks = 0;
        for (int index = 3; fields >> field && index <= 15; ++index)
            if (index == 14 || index == 15) ticks += std::stod(field);  // user and system time
        return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
    }
    std::string Log() const { return testing::FileText(log_); }

private:
    pid_t pid_ = -1;
    std::string log_;
};

// The largest viewable window with that name: the program's own hidden
// helper windows carry its name too.
inline Window FindWindowNamed(Display* display, Window parent, const char* name, long& bestArea) {
    Window root = 0, ignored = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &ignored, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count; ++i) {
        char* windowName = nullptr;
        XWindowAttributes attributes{};
        if (XFetchName(display, children[i], &windowName) && windowName) {
            bool named = std::string(windowName) == name;
            XFree(windowName);
            if (named && XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.map_state == IsViewable && long(attributes.width) * attributes.height > bestArea) {
                bestArea = long(attributes.width) * attributes.height;
                found = children[i];
            }
        }
        if (Window inner = FindWindowNamed(display, children[i], name, bestArea)) found = inner;
    }
    if (children) XFree(children);
    return found;
}

inline int IgnoreError(Display*, XErrorEvent*) { return 0; }

// Windows come and go while the tree is walked (menus, panels); one that
// vanished on the way is skipped rather than ending the test.
inline Window FindWindowNamed(Display* display, const char* name) {
    long area = 0;
    XErrorHandler previous = XSetErrorHandler(IgnoreError);
    Window found = FindWindowNamed(display, DefaultRootWindow(display), name, area);
    XSync(display, False);
    XSetErrorHandler(previous);
    return found;
}

struct Frame {
    int width = 0, height = 0;
    std::vector<unsigned long> pixels;  // 0xRRGGBB
    unsigned long At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

inline std::optional<Frame> Grab(Display* display, Window window) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return std::nullopt;
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) return std::nullopt;
    Frame frame{attributes.width, attributes.height, {}};
    frame.pixels.resize(static_cast<std::size_t>(frame.width) * frame.height);
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) frame.pixels[static_cast<std::size_t>(y) * frame.width + x] =
                XGetPixel(image, x, y) & 0xFFFFFF;
    XDestroyImage(image);
    return frame;
}

inline int Brightness(unsigned long rgb) { return static_cast<int>((rgb >> 16 & 0xFF) + (rgb >> 8 & 0xFF) + (rgb & 0xFF)); }


// The view's folder as the smoke tests start it: the pictures by link, no
// settings.qrl (the built-in scene), and a profile that keeps the tip box
// from holding the start.
inline void PrepareProgramFolder(const std::string& path) {
    namespace fs = std::filesystem;
    fs::create_directory_symlink(testing::SourceDir() + "/Data", path + "/Data");
    fs::create_directory_symlink(testing::SourceDir() + "/gfx", path + "/gfx");
    fs::create_directories(path + "/config/Quorbel");
    std::ofstream(path + "/config/Quorbel/Quorbel.conf") << "[Tip]\nStartUp=1\n";
    setenv("XDG_CONFIG_HOME", (path + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (path + "/data").c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
}

}  // namespace quorbel
