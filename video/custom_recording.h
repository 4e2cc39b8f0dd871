// The recording dialog's "Custom" choice: any size up to UHD, any rate, and
// a transparent background, for video editors. What such a recording asks
// the file chooser for, and the limits both the window and the command line
// hold a recording to.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"
#include "video/frame_rate.h"

namespace quorbel {

// The largest recording: UHD, in either orientation; and the smallest side.
constexpr int kLongestRecordedSide = 3840;
constexpr long kMostRecordedPixels = 3840L * 2160L;
constexpr int kShortestRecordedSide = 4;

struct CustomRecording {
    int width = 1920;
    int height = 1080;
    FrameRate rate{30, 1};
    bool alpha = false;  // a transparent background
};

// Nothing when a width x height recording can be made; else what to say.
std::optional<std::string> CheckRecordingSize(int width, int height);

// The file chooser of a custom recording: the editors' formats beside AVI,
// the one that keeps transparency suggested when it is asked for.
FileRequest CustomRecordingFileRequest(bool alpha);
// A transparent recording named without a known extension goes into a
// QuickTime movie: an AVI (the extension rule's choice) cannot keep it.
std::string NameForTransparentRecording(const std::string& fileName);

}  // namespace quorbel
