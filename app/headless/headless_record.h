// Recording without a window: what --record, --standard, --size, --fps,
// --alpha, --codec and --quality ask for (command_line.cpp parses them). The
// recording runs through the same writer and frame driver as the window's
// Generate AVI, with progress and a summary on stderr.
#pragma once

#include <optional>
#include <string>

#include "video/frame_rate.h"

namespace quorbel {

class HeadlessEngine;
struct HeadlessOptions;

struct RecordOptions {
    std::string path;      // --record FILE
    std::string standard;  // --standard ntsc|pal; empty: the --size at the --fps
    std::string codec;     // --codec NAME, "list", or empty for the suggested one
    int quality = -1;      // --quality 1..100; -1 keeps the encoder's default
    std::optional<FrameRate> fps;  // --fps; unset: 30
    bool alpha = false;    // --alpha: a transparent background

    bool listCodecs() const { return codec == "list"; }
    bool active() const { return !path.empty() || listCodecs(); }
};

// Checks the recording request against each other and against the encoders
// this FFmpeg has, and sets the surface size (and the default frame count:
// ten seconds) in `options`. An error message when it cannot be recorded.
std::optional<std::string> PrepareRecording(HeadlessOptions& options);
// Prints the encoders offered for the options' size and rate, for each
// container (only the --record file's, when one is named); the exit status.
int ListCodecs(const HeadlessOptions& options);
// Records with the scene set up on `engine`; the exit status.
int RecordHeadless(HeadlessEngine& engine, const HeadlessOptions& options);

}  // namespace quorbel
