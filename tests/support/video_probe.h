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
    std::string pixelFormat;  // as the decoder gives it, "yuva444p12le"
    bool alphaMode = false;   // WebM's mark of VP9 transparency kept beside the picture
};
VideoProbe Probe(const std::string& path);

// What `ffmpeg -v error -xerror -i FILE -f null -` said: empty when the
// whole file decodes cleanly.
std::string DecodeErrors(const std::string& path);

// Every frame as 8-bit RGB, top row first. Empty when decoding fails.
std::vector<std::vector<std::uint8_t>> DecodeRgbFrames(const std::string& path, int width, int height);
// Every frame as 8-bit RGBA, top row first; `inputOptions` go before the
// input (a decoder that keeps VP9's transparency: "-c:v libvpx-vp9").
std::vector<std::vector<std::uint8_t>> DecodeRgbaFrames(const std::string& path, int width, int height,
                                                        const std::string& inputOptions = "");
// Runs `ffmpeg -nostdin -v error ARGUMENTS` and returns what it wrote to
// stdout, cut into frames of `frameBytes`; empty when it fails.
std::vector<std::vector<std::uint8_t>> FfmpegFrames(const std::string& arguments, std::size_t frameBytes);

// Pixels whose colour differs by more than `threshold` (sum over channels).
int CountChangedPixels(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, int threshold = 48);

}  // namespace quorbel::testing
