// The encoders a recording may use: which FFmpeg encoder, what the user is
// told about it, the pixel format it is fed and whether it has a quality
// setting. Only encoders this FFmpeg really has, and that can write a stream
// of the recording's size and rate, are offered.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
}

#include "platform/platform.h"
#include "video/container.h"
#include "video/frame_rate.h"

namespace quorbel {

struct EncoderSpec {
    const char* id;           // FFmpeg's encoder name, also the --codec name
    const char* description;  // what the chooser shows
    AVPixelFormat pixelFormat;
    bool hasQuality;          // a quantiser the quality setting drives
    bool fullRange;           // YUV over 0..255 rather than 16..235 (JPEG)
    std::uint32_t codecTag;   // the AVI four-character code; 0 keeps the muxer's
    bool dvOnly;              // only at a DV frame size and rate
    unsigned containers;      // ContainerBit of each container that can hold it
    AVPixelFormat alphaFormat;  // the format that carries transparency; NONE: it cannot
    const char* options;        // the encoder's own options, "name=value:name=value"
    const char* alphaOptions;   // the same for a recording with transparency
    bool framesStandAlone;      // no frame needs another: several instances may encode side by side
};

constexpr unsigned ContainerBit(ContainerKind kind) { return 1u << static_cast<unsigned>(kind); }
inline bool ContainerHolds(const ContainerSpec& container, const EncoderSpec& spec) {
    return (spec.containers & ContainerBit(container.kind)) != 0;
}
inline bool CarriesAlpha(const EncoderSpec& spec) { return spec.alphaFormat != AV_PIX_FMT_NONE; }

// Quality offered before the user changes it: visually clean edges on title
// lettering, at a fraction of the size of the lossless encoders.
constexpr int kDefaultQuality = 95;

// Every encoder the program knows, the suggested one for each container
// first among those it holds.
const std::vector<EncoderSpec>& EncoderCatalog();
const EncoderSpec* FindEncoderSpec(std::string_view id);

// What a stream of `spec` at this size and rate is made of, or nothing when
// the encoder cannot write it (DV at a size or rate that no DV system has).
struct StreamFormat {
    AVPixelFormat pixelFormat;
    AVRational timeBase;  // seconds per frame
};
std::optional<StreamFormat> FormatFor(const EncoderSpec& spec, int width, int height, int frameRate);

// Everything a recording's stream depends on besides the encoder.
struct RecordingFormat {
    const ContainerSpec* container = nullptr;  // null: AVI
    int width = 0;
    int height = 0;
    FrameRate rate{};
    bool alpha = false;  // frames carry transparency
};
// As above, for any container, rate and transparency; nothing also when the
// container cannot hold the encoder or the encoder cannot carry alpha.
std::optional<StreamFormat> FormatFor(const EncoderSpec& spec, const RecordingFormat& format);

// The entries of the catalog that this FFmpeg has and that can write a
// width x height stream at `frameRate`, suggested one first, as the
// compressor chooser offers them.
std::vector<const EncoderSpec*> AvailableEncoders(int width, int height, int frameRate);
// The same for any container, rate and transparency.
std::vector<const EncoderSpec*> AvailableEncoders(const RecordingFormat& format);
// True when this FFmpeg has the encoder at all.
bool EncoderPresent(const EncoderSpec& spec);
std::vector<CompressorInfo> DescribeForChooser(const std::vector<const EncoderSpec*>& encoders);

// Maps the 1..100 quality onto the encoder's quantiser (2 best, 31 worst).
int QuantiserForQuality(int quality);

}  // namespace quorbel
