#include "video/encoded_stream.h"

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
        error = stream->OpenEncoder(settings);
    }
    if (error == 0) error = stream->OpenConverter(settings);
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

EncodedStream::~EncodedStream() {
    sws_freeContext(converter_);
    for (AVFrame*& picture : pictures_) av_frame_free(&picture);
    av_packet_free(&packet_);
    avcodec_free_context(&codec_);
    if (format_) {
        if (format_->pb) avio_closep(&format_->pb);
        avformat_free_context(format_);
    }
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

int EncodedStream::OpenEncoder(const Settings& settings) {
    const AVCodec* codec = avcodec_find_encoder_by_name(settings.encoder->id);
    if (!codec) return AVERROR_ENCODER_NOT_FOUND;
    stream_ = avformat_new_stream(format_, nullptr);
    codec_ = avcodec_alloc_context3(codec);
    packet_ = av_packet_alloc();
    if (!stream_ || !codec_ || !packet_) return AVERROR(ENOMEM);

    codec_->width = width_;
    codec_->height = height_;
    codec_->pix_fmt = settings.format.pixelFormat;
    codec_->time_base = settings.format.timeBase;
    codec_->framerate = av_inv_q(settings.format.timeBase);
    codec_->color_range = settings.encoder->fullRange ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
    TagColours();
    // The recording already runs the encoder on a thread of its own; for the
    // AVI encoders, quick at DV sizes, more threads would only compete with
    // the renderer for the same cores. The editors' formats are recorded up
    // to UHD, where one core cannot keep up (ProRes at 1080p manages a few
    // frames per second), so they use what the machine has.
    const bool inAvi = !settings.container || settings.container->kind == ContainerKind::Avi;
    codec_->thread_count = inAvi ? 1 : 0;
    if (settings.encoder->hasQuality && settings.quality > 0) {
        codec_->flags |= AV_CODEC_FLAG_QSCALE;
        codec_->global_quality = FF_QP2LAMBDA * QuantiserForQuality(settings.quality);
    }
    if (format_->oformat->flags & AVFMT_GLOBALHEADER) codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const char* options = settings.alpha ? settings.encoder->alphaOptions : settings.encoder->options;
    int error = OpenWithOptions(codec_, codec, options);
    if (error < 0) return error;

    stream_->time_base = codec_->time_base;
    stream_->avg_frame_rate = codec_->framerate;
    error = avcodec_parameters_from_context(stream_->codecpar, codec_);
    if (error < 0) return error;
    if (settings.encoder->codecTag && inAvi) stream_->codecpar->codec_tag = settings.encoder->codecTag;
    // WebM keeps VP9's transparency beside the picture; readers look for
    // this mark to know it is there.
    if (settings.alpha && settings.container && settings.container->kind == ContainerKind::WebM)
        av_dict_set(&stream_->metadata, "alpha_mode", "1", 0);

    return AllocatePictures();
}

int EncodedStream::AllocatePictures() {
    for (AVFrame*& picture : pictures_) {
        picture = av_frame_alloc();
        if (!picture) return AVERROR(ENOMEM);
        picture->format = codec_->pix_fmt;
        picture->width = width_;
        picture->height = height_;
        // Some encoders (ProRes) take the colour description from each picture.
        picture->colorspace = codec_->colorspace;
        picture->color_primaries = codec_->color_primaries;
        picture->color_trc = codec_->color_trc;
        picture->color_range = codec_->color_range;
        const int error = av_frame_get_buffer(picture, 0);
        if (error < 0) return error;
    }
    return 0;
}

void EncodedStream::TagColours() {
    if (!tagsColour_) return;
    codec_->colorspace = AVCOL_SPC_BT709;
    codec_->color_primaries = AVCOL_PRI_BT709;
    codec_->color_trc = AVCOL_TRC_BT709;
}

int EncodedStream::OpenConverter(const Settings& settings) {
    const AVPixelFormat target = settings.format.pixelFormat;
    const bool planarTarget = target == AV_PIX_FMT_YUV422P || target == AV_PIX_FMT_YUV420P;
    if (planarTarget && settings.fourBytesPerPixel && !settings.alpha && PlanarConversionFits(width_, height_)) {
        planar_ = true;
        // The same weights as the library's converter is given below.
        const bool fullRange = settings.encoder->fullRange;
        planarLayout_ = {target == AV_PIX_FMT_YUV420P, fullRange, tagsColour_ && !fullRange};
        return 0;
    }
    // The fourth byte is alpha only when it is to be kept.
    const AVPixelFormat source = settings.alpha               ? AV_PIX_FMT_BGRA
                                 : settings.fourBytesPerPixel ? AV_PIX_FMT_BGR0
                                                              : AV_PIX_FMT_BGR24;
    converter_ = sws_getContext(width_, height_, source, width_, height_, settings.format.pixelFormat,
                                SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!converter_) return AVERROR(EINVAL);
    if (settings.encoder->fullRange) {
        const int* bt601 = sws_getCoefficients(SWS_CS_ITU601);
        sws_setColorspaceDetails(converter_, bt601, 1, bt601, 1, 0, 1 << 16, 1 << 16);
    } else if (tagsColour_) {
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(converter_, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    }
    return 0;
}

int EncodedStream::Write(const std::uint8_t* pixels) {
    AVFrame* picture = pictures_[nextPicture_];
    nextPicture_ = (nextPicture_ + 1) % kPictures;
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
        sws_scale(converter_, source, sourceStride, 0, height_, picture->data, picture->linesize);
    picture->pts = nextPts_++;
    // A fixed-quantiser encoder reads the quantiser from each picture.
    picture->quality = codec_->global_quality;
    error = avcodec_send_frame(codec_, picture);
    if (error < 0) return error;
    return Drain();
}

int EncodedStream::PendingWriteError() const { return format_->pb ? format_->pb->error : 0; }

int EncodedStream::Drain() {
    for (;;) {
        int error = avcodec_receive_packet(codec_, packet_);
        if (error == AVERROR(EAGAIN) || error == AVERROR_EOF) return PendingWriteError();
        if (error < 0) return error;
        av_packet_rescale_ts(packet_, codec_->time_base, stream_->time_base);
        packet_->stream_index = stream_->index;
        // Key frames reach the index as the encoder flagged them.
        error = av_interleaved_write_frame(format_, packet_);
        if (error < 0) return error;
    }
}

int EncodedStream::Finish() {
    if (finished_) return 0;
    finished_ = true;
    int first = avcodec_send_frame(codec_, nullptr);  // no more frames: flush
    if (first >= 0) first = Drain();
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
