// Looks at a video file through FFmpeg's own command-line tools, never
// through the code that wrote it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorbel::testing {

// True when both ffprobe and ffmpeg can be run.
bool HaveFfmpegTools();
#define QUORBEL_SKIP_WITHOUT_FFMPEG_TOOLS()                                                                   \
    if (!::quorbel::testing::HaveFfmpegTools())                                                               \
    GTEST_SKIP() << "ffprobe or ffmpeg is not installed (tools/setup.sh installs the Debian package ffmpeg)"

struct VideoProbe {
    bool ok = false;
    std::string error;  // what ffprobe said when it failed
    int videoStreams = 0;
    int otherStreams = 0;
    std::string codec;      // of the first video stream
    std::string frameRate;  // "30/1"
    int width = 0;
    int height = 0;
    int frames = -1;  // frames decoded by ffprobe -count_frames
};
VideoProbe Probe(const std::string& path);

// What `ffmpeg -v error -xerror -i FILE -f null -` said: empty when the
// whole file decodes cleanly.
std::string DecodeErrors(const std::string& path);

// Every frame as 8-bit RGB, top row first. Empty when decoding fails.
std::vector<std::vector<std::uint8_t>> DecodeRgbFrames(const std::string& path, int width, int height);

// Pixels whose colour differs by more than `threshold` (sum over channels).
int CountChangedPixels(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, int threshold = 48);

// Quotes a path for the shell.
std::string Quoted(const std::string& path);

}  // namespace quorbel::testing
