// What a headless recording asks for, checked before anything is rendered
// or written: the container (from the file's extension), the frame size
// and rate (from --standard, or --size and --fps), transparency, and
// whether the encoder asked for can write all that.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "video/container.h"
#include "video/encoder_catalog.h"
#include "video/frame_rate.h"

namespace quorbel {

struct HeadlessOptions;

struct RecordRequest {
    std::string path;  // the --record name with the AVI extension rule applied
    const ContainerSpec* container = nullptr;
    int surfaceWidth = 0;  // the rendering surface, as asked
    int surfaceHeight = 0;
    RecordingFormat format;  // the recorded frames: each side rounded down to a multiple of 4
    int defaultFrames = 300;  // ten seconds at the rate
};

// Resolves the options into a request; an error message for sizes, rates
// or combinations that cannot be recorded.
std::optional<std::string> ResolveRecording(const HeadlessOptions& options, RecordRequest& request);
// Checks `codec` (empty: the suggested one) against the request and this
// FFmpeg; an error message naming what can be used instead.
std::optional<std::string> CheckCodec(const RecordRequest& request, const std::string& codec);

// "720x480 at 30 frames per second".
std::string FormatText(const RecordingFormat& format);

}  // namespace quorbel
