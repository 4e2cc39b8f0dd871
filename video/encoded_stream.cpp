#include "video/encoded_stream.h"

#include <algorithm>
#include <optional>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace quorbel {

namespace {

// "name=value:name=value" as an FFmpeg dictionary (null for an empty text).
int ParseOptions(const char* text, AVDictionary** options) {
    if (!text || !*text) return 0;
    return av_dict_parse_string(options, text, "=", ":", 0);
}

// Options FFmpeg did not take are a fault in our tables, not something to
// carry on without: the stream would silently not be what it claims.
int OpenWithOptions(AVCodecContext* context, const AVCodec* codec, const char* text) {
    AVDictionary* options = nullptr;
    int error = ParseOptions(text, &options);
    if (error >= 0) error = avcodec_open2(context, codec, &options);
    if (error >= 0 && av_dict_count(options) > 0) error = AVERROR_OPTION_NOT_FOUND;
    av_dict_free(&options);
    return error;
}

bool IsRgb(AVPixelFormat format) {
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    return descriptor && (descriptor->flags & AV_PIX_FMT_FLAG_RGB);
}

}  // namespace

std::unique_ptr<EncodedStream> EncodedStream::Open(const std::string& path, const Settings& settings,
                                                   Failure& failure) {
    // FFmpeg's own chatter (encoder notes, warnings) would only clutter the
    // terminal; what matters comes back as error codes and is reported.
    av_log_set_level(AV_LOG_ERROR);
    const ContainerSpec& container = settings.container ? *settings.container : AviContainer();
    std::unique_ptr<EncodedStream> stream(new EncodedStream);
    stream->width_ = settings.width;
    stream->height_ = settings.height;
    stream->bytesPerPixel_ = settings.fourBytesPerPixel || settings.alpha ? 4 : 3;
    // AVI keeps the colour handling it always had; the other containers
    // state BT.709 (what editors assume for HD, and unambiguous at any size).
    stream->tagsColour_ = container.kind != ContainerKind::Avi && !IsRgb(settings.format.pixelFormat);
    int error = stream->OpenFile(path, container);
    Stage stage = Stage::File;
    if (error == 0) {
        stage = Stage::Stream;
        error = stream->OpenStream(settings);
    }
    if (error == 0) {
        stage = Stage::Header;
        AVDictionary* options = nullptr;
        error = ParseOptions(container.muxerOptions, &options);
        if (error >= 0) error = avformat_write_header(stream->format_, &options);
        av_dict_free(&options);
        if (error >= 0) error = stream->PendingWriteError();
    }
    if (error < 0) {
        failure = {stage, error};
        return nullptr;
    }
    stream->headerWritten_ = true;
    return stream;
}

EncodedStream::Lane::~Lane() {
    sws_freeContext(converter);
    for (AVFrame*& picture : pictures) av_frame_free(&picture);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
}

EncodedStream::~EncodedStream() {
    lanes_.clear();
    if (format_) {
        if (format_->pb) avio_closep(&format_->pb);
        avformat_free_context(format_);
    }
}

// Every lane's encoder is opened alike, so the first one's parameters (and
// any header data, such as HuffYUV's tables) describe every frame.
int EncodedStream::OpenStream(const Settings& settings) {
    stream_ = avformat_new_stream(format_, nullptr);
    if (!stream_) return AVERROR(ENOMEM);
    for (int i = 0; i < std::max(settings.lanes, 1); ++i) {
        lanes_.push_back(std::make_unique<Lane>());
        Lane& lane = *lanes_.back();
        // One lane's pictures are enough where nothing is kept between frames.
        if (settings.lanes > 1) lane.pictureCount = 1;
        int error = OpenEncoder(settings, lane);
        if (error == 0) error = OpenConverter(settings, lane);
        if (error < 0) return error;
    }
    AVCodecContext* codec = lanes_.front()->codec;
    stream_->time_base = codec->time_base;
    stream_->avg_frame_rate = codec->framerate;
    const int error = avcodec_parameters_from_context(stream_->codecpar, codec);
    if (error < 0) return error;
    const bool inAvi = !settings.container || settings.container->kind == ContainerKind::Avi;
    if (settings.encoder->codecTag && inAvi) stream_->codecpar->codec_tag = settings.encoder->codecTag;
    // WebM keeps VP9's transparency beside the picture; readers look for
    // this mark to know it is there.
    if (settings.alpha && settings.container && settings.container->kind == ContainerKind::WebM)
        av_dict_set(&stream_->metadata, "alpha_mode", "1", 0);
    return 0;
}

int EncodedStream::OpenFile(const std::string& path, const ContainerSpec& container) {
    int error = avformat_alloc_output_context2(&format_, nullptr, container.muxer, nullptr);
    if (error < 0) return error;
    // The file protocol by name: a path with a colon in it is still a file,
    // never a URL.
    const std::string url = "file:" + path;
    av_free(format_->url);
    format_->url = av_strdup(url.c_str());
    if (!format_->url) return AVERROR(ENOMEM);
    // A picture sequence opens one file per frame itself.
    if (format_->oformat->flags & AVFMT_NOFILE) return 0;
    return avio_open(&format_->pb, url.c_str(), AVIO_FLAG_WRITE);
}

int EncodedStream::OpenEncoder(const Settings& settings, Lane& lane) {
    const AVCodec* codec = avcodec_find_encoder_by_name(settings.encoder->id);
    if (!codec) return AVERROR_ENCODER_NOT_FOUND;
    lane.codec = avcodec_alloc_context3(codec);
    lane.packet = av_packet_alloc();
    if (!lane.codec || !lane.packet) return AVERROR(ENOMEM);
    AVCodecContext* context = lane.codec;
    context->width = width_;
    context->height = height_;
    context->pix_fmt = settings.format.pixelFormat;
    context->time_base = settings.format.timeBase;
    context->framerate = av_inv_q(settings.format.timeBase);
    context->color_range = settings.encoder->fullRange ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
    TagColours(context);
    // The recording already runs the encoder on threads of its own (one per
    // lane). For the AVI encoders, quick at DV sizes, more threads would only
    // compete with the renderer for the same cores. The other formats'
    // encoders that need the previous frames (H.264, VP9) run as one
    // instance and use what the machine has for themselves.
    const bool inAvi = !settings.container || settings.container->kind == ContainerKind::Avi;
    context->thread_count = inAvi || settings.lanes > 1 ? 1 : 0;
    if (settings.encoder->hasQuality && settings.quality > 0) {
        context->flags |= AV_CODEC_FLAG_QSCALE;
        context->global_quality = FF_QP2LAMBDA * QuantiserForQuality(settings.quality);
    }
    if (format_->oformat->flags & AVFMT_GLOBALHEADER) context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const char* options = settings.alpha ? settings.encoder->alphaOptions : settings.encoder->options;
    const int error = OpenWithOptions(context, codec, options);
    if (error < 0) return error;
    return AllocatePictures(lane);
}

int EncodedStream::AllocatePictures(Lane& lane) {
    for (int i = 0; i < lane.pictureCount; ++i) {
        AVFrame*& picture = lane.pictures[i];
        picture = av_frame_alloc();
        if (!picture) return AVERROR(ENOMEM);
        picture->format = lane.codec->pix_fmt;
        picture->width = width_;
        picture->height = height_;
        // Some encoders (ProRes) take the colour description from each picture.
        picture->colorspace = lane.codec->colorspace;
        picture->color_primaries = lane.codec->color_primaries;
        picture->color_trc = lane.codec->color_trc;
        picture->color_range = lane.codec->color_range;
        const int error = av_frame_get_buffer(picture, 0);
        if (error < 0) return error;
    }
    return 0;
}

void EncodedStream::TagColours(AVCodecContext* codec) const {
    if (!tagsColour_) return;
    codec->colorspace = AVCOL_SPC_BT709;
    codec->color_primaries = AVCOL_PRI_BT709;
    codec->color_trc = AVCOL_TRC_BT709;
}

namespace {

// Our own conversion's layout for a target it handles, with the fourth byte
// as alpha only where the target keeps it.
std::optional<PlanarLayout> PlanarLayoutFor(AVPixelFormat target, bool alpha) {
    switch (target) {
        case AV_PIX_FMT_YUV422P: return alpha ? std::nullopt : std::optional(PlanarLayout{});
        case AV_PIX_FMT_YUV420P: return alpha ? std::nullopt : std::optional(PlanarLayout{.halfChromaRows = true});
        case AV_PIX_FMT_YUV422P10LE: return alpha ? std::nullopt : std::optional(PlanarLayout{.tenBits = true});
        case AV_PIX_FMT_YUVA444P10LE:
            return alpha ? std::optional(PlanarLayout{.tenBits = true, .fullChroma = true, .alpha = true}) : std::nullopt;
        default: return std::nullopt;
    }
}

}  // namespace

int EncodedStream::OpenConverter(const Settings& settings, Lane& lane) {
    const AVPixelFormat target = settings.format.pixelFormat;
    const auto layout = PlanarLayoutFor(target, settings.alpha);
    if (layout && settings.fourBytesPerPixel && PlanarConversionFits(width_, height_)) {
        planar_ = true;
        // The same weights as the library's converter is given below.
        planarLayout_ = *layout;
        planarLayout_.fullRange = settings.encoder->fullRange;
        planarLayout_.bt709 = tagsColour_ && !planarLayout_.fullRange;
        return 0;
    }
    // The fourth byte is alpha only when it is to be kept.
    const AVPixelFormat source = settings.alpha               ? AV_PIX_FMT_BGRA
                                 : settings.fourBytesPerPixel ? AV_PIX_FMT_BGR0
                                                              : AV_PIX_FMT_BGR24;
    lane.converter = sws_getContext(width_, height_, source, width_, height_, settings.format.pixelFormat,
                                    SWS_BICUBIC, nullptr, nullptr, nullptr);
    SwsContext* converter = lane.converter;
    if (!converter) return AVERROR(EINVAL);
    if (settings.encoder->fullRange) {
        const int* bt601 = sws_getCoefficients(SWS_CS_ITU601);
        sws_setColorspaceDetails(converter, bt601, 1, bt601, 1, 0, 1 << 16, 1 << 16);
    } else if (tagsColour_) {
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(converter, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    }
    return 0;
}

int EncodedStream::Write(const std::uint8_t* pixels) {
    const int error = Encode(0, pixels, nextPts_++);
    return error < 0 ? error : WriteEncoded(0);
}

int EncodedStream::Encode(int laneIndex, const std::uint8_t* pixels, std::int64_t number) {
    Lane& lane = *lanes_[static_cast<std::size_t>(laneIndex)];
    AVFrame* picture = lane.pictures[lane.nextPicture];
    lane.nextPicture = (lane.nextPicture + 1) % lane.pictureCount;
    // A no-op unless the encoder still holds this picture too; then it gets
    // a fresh copy rather than a picture changed under it.
    int error = av_frame_make_writable(picture);
    if (error < 0) return error;
    // A negative stride walks the bottom-up rows from the top.
    const int rowBytes = width_ * bytesPerPixel_;
    const std::uint8_t* source[1] = {pixels + static_cast<std::ptrdiff_t>(height_ - 1) * rowBytes};
    const int sourceStride[1] = {-rowBytes};
    if (planar_)
        BgrxToPlanarYuv(pixels, width_, height_, planarLayout_, picture->data, picture->linesize);
    else
        sws_scale(lane.converter, source, sourceStride, 0, height_, picture->data, picture->linesize);
    picture->pts = number;
    // A fixed-quantiser encoder reads the quantiser from each picture.
    picture->quality = lane.codec->global_quality;
    return avcodec_send_frame(lane.codec, picture);
}

int EncodedStream::WriteEncoded(int lane) { return Drain(*lanes_[static_cast<std::size_t>(lane)]); }

int EncodedStream::PendingWriteError() const { return format_->pb ? format_->pb->error : 0; }

int EncodedStream::Drain(Lane& lane) {
    for (;;) {
        int error = avcodec_receive_packet(lane.codec, lane.packet);
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF) return PendingWriteError();
        if (error < 0) return error;
        av_packet_rescale_ts(lane.packet, lane.codec->time_base, stream_->time_base);
        lane.packet->stream_index = stream_->index;
        // Key frames reach the index as the encoder flagged them.
        error = av_interleaved_write_frame(format_, lane.packet);
        if (error < 0) return error;
    }
}

int EncodedStream::Finish() {
    if (finished_) return 0;
    finished_ = true;
    // No more frames: flush. Only a single lane can hold frames back; the
    // others were written as they came.
    int first = 0;
    for (auto& lane : lanes_) {
        if (first >= 0) first = avcodec_send_frame(lane->codec, nullptr);
        if (first >= 0) first = Drain(*lane);
    }
    const int trailer = av_write_trailer(format_);
    if (first >= 0) first = trailer;
    const int closed = CloseFile();
    return first < 0 ? first : closed;
}

int EncodedStream::CloseFile() {
    if (!format_->pb) return 0;
    avio_flush(format_->pb);
    const int pending = format_->pb->error;
    const int closed = avio_closep(&format_->pb);
    return pending < 0 ? pending : (closed < 0 ? closed : 0);
}

}  // namespace quorbel
