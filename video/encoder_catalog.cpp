#include "video/encoder_catalog.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "video/recording_standards.h"

namespace quorbel {

namespace {

constexpr std::uint32_t FourCc(char a, char b, char c, char d) {
    return static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b) << 8 | static_cast<std::uint32_t>(c) << 16 |
           static_cast<std::uint32_t>(d) << 24;
}

constexpr unsigned kAvi = ContainerBit(ContainerKind::Avi);
constexpr unsigned kMov = ContainerBit(ContainerKind::QuickTime);
constexpr unsigned kMp4 = ContainerBit(ContainerKind::Mp4);
constexpr unsigned kWebM = ContainerBit(ContainerKind::WebM);
constexpr unsigned kPng = ContainerBit(ContainerKind::PngSequence);
constexpr AVPixelFormat kNoAlpha = AV_PIX_FMT_NONE;

// Motion JPEG is suggested for AVI: every video editor reads it, each frame
// stands alone (cuts anywhere), and it keeps up with the renderer on one
// core. MPEG-4 goes out as XVID, the code most players and editors know it by.
// In a QuickTime movie ProRes comes first, the format editors exchange; its
// 4444 profile keeps the transparency at full resolution. FFmpeg has two
// ProRes encoders: on our frames the one named "aw" encodes three to four
// times as fast as "ks" at the same quality (PSNR within 0.4 dB, alpha equal;
// 4444 files 10 % smaller, 422 HQ files 6 % larger), so it is suggested and
// the other is kept for whoever prefers it. QuickTime
// Animation is lossless, so a title keyed over footage is exactly the render.
// H.264 in 4:2:0 is what every player and sharing site accepts; a fixed
// quality (crf) rather than a bit rate keeps titles crisp however still they
// are. VP9 is told to work "good" but not at its slowest setting, or a
// 1080p recording would take minutes per second of video.
constexpr const char* kVp9Options = "deadline=good:cpu-used=4:row-mt=1:crf=24:b=0";
const std::vector<EncoderSpec> kCatalog = {
    {"mjpeg", "Motion JPEG (every frame a picture; edits well)", AV_PIX_FMT_YUV422P, true, true, 0, false, kAvi,
     kNoAlpha, "", "", true},
    {"mpeg4", "MPEG-4 Part 2 (small files)", AV_PIX_FMT_YUV420P, true, false, FourCc('X', 'V', 'I', 'D'), false, kAvi,
     kNoAlpha, "", "", false},
    {"dvvideo", "DV (for DV editors and tape)", AV_PIX_FMT_NONE, false, false, 0, true, kAvi, kNoAlpha, "", "", true},
    {"ffv1", "FFV1 (lossless)", AV_PIX_FMT_BGR0, false, false, 0, false, kAvi, kNoAlpha, "", "", false},
    {"huffyuv", "HuffYUV (lossless YUV 4:2:2)", AV_PIX_FMT_YUV422P, false, false, 0, false, kAvi, kNoAlpha, "", "", true},
    {"rawvideo", "Uncompressed RGB (24-bit, very large)", AV_PIX_FMT_BGR24, false, false, 0, false, kAvi, kNoAlpha,
     "", "", true},
    {"prores_aw", "Apple ProRes 422 HQ, 4444 with --alpha (for editors)", AV_PIX_FMT_YUV422P10LE, false, false, 0,
     false, kMov, AV_PIX_FMT_YUVA444P10LE, "profile=3", "profile=4", true},
    {"prores_ks", "Apple ProRes 422 HQ, 4444 with --alpha (FFmpeg's other ProRes encoder; slower)",
     AV_PIX_FMT_YUV422P10LE, false, false, 0, false, kMov, AV_PIX_FMT_YUVA444P10LE, "profile=hq", "profile=4444",
     true},
    {"qtrle", "QuickTime Animation (lossless RGB)", AV_PIX_FMT_RGB24, false, false, 0,
     false, kMov, AV_PIX_FMT_ARGB, "", "", false},
    {"libx264", "H.264 (4:2:0, plays everywhere; for sharing)", AV_PIX_FMT_YUV420P, false, false, 0, false, kMp4 | kMov,
     kNoAlpha, "preset=medium:crf=18", "", false},
    {"libvpx-vp9", "VP9 (for the web)", AV_PIX_FMT_YUV420P, false, false, 0, false, kWebM, AV_PIX_FMT_YUVA420P,
     kVp9Options, kVp9Options, false},
    {"png", "PNG pictures (lossless)", AV_PIX_FMT_RGB24, false, false, 0, false, kPng,
     AV_PIX_FMT_RGBA, "", "", true},
};

// A DV stream is one of the television standards: its frame, asked at the
// standard's rate or at the rate DV stores, which the file then takes.
std::optional<StreamFormat> DvFormat(int width, int height, FrameRate rate) {
    for (const RecordingStandard& standard : kRecordingStandards) {
        if (width != standard.width || height != standard.height) continue;
        if (rate != standard.rate && rate != standard.dvRate) continue;
        return StreamFormat{standard.dvPixelFormat, {standard.dvRate.seconds, standard.dvRate.frames}};
    }
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
    return FormatFor(spec, RecordingFormat{&AviContainer(), width, height, {frameRate, 1}, false});
}

std::optional<StreamFormat> FormatFor(const EncoderSpec& spec, const RecordingFormat& format) {
    const ContainerSpec& container = format.container ? *format.container : AviContainer();
    if (format.width <= 0 || format.height <= 0 || format.rate.frames <= 0 || format.rate.seconds <= 0)
        return std::nullopt;
    if (!ContainerHolds(container, spec)) return std::nullopt;
    if (format.alpha && !CarriesAlpha(spec)) return std::nullopt;
    if (spec.dvOnly) return DvFormat(format.width, format.height, format.rate);
    return StreamFormat{format.alpha ? spec.alphaFormat : spec.pixelFormat, {format.rate.seconds, format.rate.frames}};
}

bool EncoderPresent(const EncoderSpec& spec) { return avcodec_find_encoder_by_name(spec.id) != nullptr; }

std::vector<const EncoderSpec*> AvailableEncoders(int width, int height, int frameRate) {
    return AvailableEncoders(RecordingFormat{&AviContainer(), width, height, {frameRate, 1}, false});
}

std::vector<const EncoderSpec*> AvailableEncoders(const RecordingFormat& format) {
    std::vector<const EncoderSpec*> offered;
    for (const EncoderSpec& spec : kCatalog) {
        const AVCodec* codec = avcodec_find_encoder_by_name(spec.id);
        auto stream = FormatFor(spec, format);
        if (codec && stream && EncoderTakes(*codec, stream->pixelFormat)) offered.push_back(&spec);
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
