// One video stream in a file, on FFmpeg: the container's libavformat muxer
// (AVI, QuickTime, MPEG-4, WebM, or a numbered picture per frame), one
// libavcodec encoder, and libswscale turning the program's bottom-up BGR (or
// BGRA, with transparency) frames into the encoder's pixel format. Everything
// is allocated when the stream opens; writing a frame allocates nothing of
// ours.
//
// Encoders whose frames stand alone may run as several instances ("lanes"),
// each converting and encoding its own frames on a thread of its own, the
// packets then written in frame order. Not tied to any thread: Encode may
// run on as many threads at once as there are lanes, one per lane; the
// writing calls (WriteEncoded, Write, Finish) one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "video/encoder_catalog.h"
#include "video/yuv_planar.h"

struct AVFormatContext;
struct AVCodecContext;
struct AVStream;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace quorbel {

class EncodedStream {
public:
    struct Settings {
        const EncoderSpec* encoder = nullptr;
        StreamFormat format{};
        int width = 0;
        int height = 0;
        int quality = -1;  // 1..100 where the encoder has a quality setting
        bool fourBytesPerPixel = false;  // frames come as blue, green, red, ignored byte
        const ContainerSpec* container = nullptr;  // null: AVI
        bool alpha = false;  // the fourth byte is straight alpha, to be kept (implies four bytes)
        int lanes = 1;  // encoder instances; more than one only where every frame stands alone
    };
    // Which step failed, for the message the user gets.
    enum class Stage { File, Stream, Header };
    struct Failure {
        Stage stage = Stage::File;
        int error = 0;  // an AVERROR code
    };

    // Opens `path` for writing (truncating it), sets up the encoder and
    // writes the file header. For a picture sequence `path` is the pattern
    // of the pictures' names (see SequencePattern). Null with `failure` set when a step fails;
    // whatever was opened is closed again.
    static std::unique_ptr<EncodedStream> Open(const std::string& path, const Settings& settings, Failure& failure);
    // Closes the file without its index when Finish was not called.
    ~EncodedStream();
    EncodedStream(const EncodedStream&) = delete;
    EncodedStream& operator=(const EncodedStream&) = delete;

    // Encodes one frame: width x height rows of blue, green, red bytes (and
    // a fourth byte where the settings say so: ignored, or the straight alpha
    // of a recording with transparency), bottom row first, no padding.
    // Returns 0 or an AVERROR code.
    int Write(const std::uint8_t* pixels);
    // Write in two steps, for several lanes: Encode converts and encodes
    // frame `number` (from 0) on `lane`; WriteEncoded then writes what that
    // lane made. The caller writes the frames in their order.
    int Encode(int lane, const std::uint8_t* pixels, std::int64_t number);
    int WriteEncoded(int lane);
    int lanes() const { return static_cast<int>(lanes_.size()); }
    // Drains the encoder, writes the index and closes the file. Returns 0 or
    // the first AVERROR code met, including a write error the file layer
    // kept back until now.
    int Finish();

private:
    // One encoder instance with its own pictures and converter.
    struct Lane {
        AVCodecContext* codec = nullptr;
        // Pictures in rotation: an encoder that keeps the last picture it was
        // given (FFV1 does) finds it untouched while the next one is filled,
        // and no picture has to be allocated during the recording.
        static constexpr int kPictures = 3;
        AVFrame* pictures[kPictures] = {};
        int pictureCount = kPictures;
        int nextPicture = 0;
        AVPacket* packet = nullptr;
        SwsContext* converter = nullptr;  // null where planarLayout_ is used
        ~Lane();
    };

    EncodedStream() = default;
    int OpenFile(const std::string& path, const ContainerSpec& container);
    int OpenEncoder(const Settings& settings, Lane& lane);
    int OpenStream(const Settings& settings);
    void TagColours(AVCodecContext* codec) const;
    int AllocatePictures(Lane& lane);
    int OpenConverter(const Settings& settings, Lane& lane);
    int Drain(Lane& lane);
    int CloseFile();
    int PendingWriteError() const;

    AVFormatContext* format_ = nullptr;
    AVStream* stream_ = nullptr;
    std::vector<std::unique_ptr<Lane>> lanes_;
    bool planar_ = false;               // our own conversion (see yuv_planar.h)
    PlanarLayout planarLayout_{};
    std::int64_t nextPts_ = 0;
    int width_ = 0;
    int height_ = 0;
    int bytesPerPixel_ = 3;
    bool tagsColour_ = false;  // BT.709, stated in the file
    bool headerWritten_ = false;
    bool finished_ = false;
};

}  // namespace quorbel
