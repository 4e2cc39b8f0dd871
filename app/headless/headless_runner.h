// The headless mode: render frames without a window, write a snapshot, set
// and read scene fields by name. The options come from command_line.h.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/headless/headless_record.h"

namespace quorbel {

struct HeadlessOptions {
    std::string snapshotPath;
    int frames = 1;
    bool framesGiven = false;
    int width = 720;
    int height = 480;
    bool sizeGiven = false;
    std::vector<std::pair<std::string, std::string>> sets;  // NAME, VALUE in order
    std::vector<std::string> gets;
    std::optional<unsigned> seed;
    std::string saveSettingsPath;
    std::string openSettingsPath;  // opened as Open does, after the first frame
    std::optional<std::string> title;  // in place of the title file's, UTF-8
    bool classicPath = false;  // draw with the plain OpenGL 1.1 path
    bool help = false;
    bool version = false;
    RecordOptions record;
};

// Renders as the options say. Returns the process exit status; errors are
// written to stderr, the --get values to stdout.
int RunHeadless(const HeadlessOptions& options);

}  // namespace quorbel
