// Recording without a window: --record, --standard, --codec, --quality. The
// recording runs through the same writer and frame driver as the window's
// Generate AVI, with progress and a summary on stderr.
#pragma once

#include <optional>
#include <string>

namespace quorbel {

class HeadlessEngine;
struct HeadlessOptions;

struct RecordOptions {
    std::string path;      // --record FILE
    std::string standard;  // --standard ntsc|pal; empty: the --size at 30 frames per second
    std::string codec;     // --codec NAME, "list", or empty for the suggested one
    int quality = -1;      // --quality 1..100; -1 keeps the encoder's default

    bool listCodecs() const { return codec == "list"; }
    bool active() const { return !path.empty() || listCodecs(); }
};

// True for the options this file owns.
bool IsRecordOption(const std::string& option);
// Parses one of them; an error message for a bad value.
std::optional<std::string> ParseRecordOption(const std::string& option, const std::string& value,
                                             RecordOptions& options);

// Checks the recording request against each other and against the encoders
// this FFmpeg has, and sets the surface size (and the default frame count:
// ten seconds) in `options`. An error message when it cannot be recorded.
std::optional<std::string> PrepareRecording(HeadlessOptions& options);
// Prints the encoders offered for the options' size and rate; the exit status.
int ListCodecs(const HeadlessOptions& options);
// Records with the scene set up on `engine`; the exit status.
int RecordHeadless(HeadlessEngine& engine, const HeadlessOptions& options);

}  // namespace quorbel
