#include "video/encoder_catalog.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace quorbel {

namespace {

constexpr std::uint32_t FourCc(char a, char b, char c, char d) {
    return static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b) << 8 | static_cast<std::uint32_t>(c) << 16 |
           static_cast<std::uint32_t>(d) << 24;
}

// Motion JPEG is suggested: every video editor reads it, each frame stands
// alone (cuts anywhere), and it keeps up with the renderer on one core.
// MPEG-4 goes out as XVID, the code most players and editors know it by.
const std::vector<EncoderSpec> kCatalog = {
    {"mjpeg", "Motion JPEG (every frame a picture; edits well)", AV_PIX_FMT_YUV422P, true, true, 0, false},
    {"mpeg4", "MPEG-4 Part 2 (small files)", AV_PIX_FMT_YUV420P, true, false, FourCc('X', 'V', 'I', 'D'), false},
    {"dvvideo", "DV (for DV editors and tape)", AV_PIX_FMT_NONE, false, false, 0, true},
    {"ffv1", "FFV1 (lossless)", AV_PIX_FMT_BGR0, false, false, 0, false},
    {"huffyuv", "HuffYUV (lossless YUV 4:2:2)", AV_PIX_FMT_YUV422P, false, false, 0, false},
    {"rawvideo", "Uncompressed RGB (24-bit, very large)", AV_PIX_FMT_BGR24, false, false, 0, false},
};

// A DV stream is one of two television systems; its frames carry the system,
// so the file's rate must be the system's: 525 lines run at 30000/1001.
std::optional<StreamFormat> DvFormat(int width, int height, int frameRate) {
    if (width == 720 && height == 480 && frameRate == 30) return StreamFormat{AV_PIX_FMT_YUV411P, {1001, 30000}};
    if (width == 720 && height == 576 && frameRate == 25) return StreamFormat{AV_PIX_FMT_YUV420P, {1, 25}};
    return std::nullopt;
}

bool EncoderTakes(const AVCodec& codec, AVPixelFormat format) {
    if (!codec.pix_fmts) return true;
    for (const AVPixelFormat* f = codec.pix_fmts; *f != AV_PIX_FMT_NONE; ++f)
        if (*f == format) return true;
    return false;
}

}  // namespace

const std::vector<EncoderSpec>& EncoderCatalog() { return kCatalog; }

const EncoderSpec* FindEncoderSpec(std::string_view id) {
    for (const EncoderSpec& spec : kCatalog)
        if (id == spec.id) return &spec;
    return nullptr;
}

std::optional<StreamFormat> FormatFor(const EncoderSpec& spec, int width, int height, int frameRate) {
    if (width <= 0 || height <= 0 || frameRate <= 0) return std::nullopt;
    if (spec.dvOnly) return DvFormat(width, height, frameRate);
    return StreamFormat{spec.pixelFormat, {1, frameRate}};
}

std::vector<const EncoderSpec*> AvailableEncoders(int width, int height, int frameRate) {
    std::vector<const EncoderSpec*> offered;
    for (const EncoderSpec& spec : kCatalog) {
        const AVCodec* codec = avcodec_find_encoder_by_name(spec.id);
        auto format = FormatFor(spec, width, height, frameRate);
        if (codec && format && EncoderTakes(*codec, format->pixelFormat)) offered.push_back(&spec);
    }
    return offered;
}

std::vector<CompressorInfo> DescribeForChooser(const std::vector<const EncoderSpec*>& encoders) {
    std::vector<CompressorInfo> infos;
    for (const EncoderSpec* spec : encoders)
        infos.push_back({spec->id, spec->description, spec->hasQuality ? kDefaultQuality : -1});
    return infos;
}

int QuantiserForQuality(int quality) {
    const int clamped = std::clamp(quality, 1, 100);
    return 2 + static_cast<int>(std::lround((100 - clamped) * 29.0 / 99.0));
}

}  // namespace quorbel
