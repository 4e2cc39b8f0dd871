// Turns a sequence of 24-bit frames into one compressed video stream in an
// AVI file. Made afresh for each recording: sized from the view, opened
// (which asks the user for a compressor), written once per frame, closed.
//
// The file's extension may ask for another container instead (.mov, .mp4,
// .webm, or .png for a numbered picture per frame, see container.h); the
// compressors offered are then those that container holds. With `alpha`
// the frames are 32-bit, blue, green, red and straight alpha, and only
// compressors that keep the transparency are offered.
//
// The file is written under a temporary name beside `fileName` and only
// renamed to it by a successful Close, so a cancelled or failed recording
// never leaves a broken file there. Open, WriteFrame and Close show their
// failures through the platform and belong to the UI thread; EncodeFrame is
// the silent part of WriteFrame that an encoder thread may run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace quorbel {

// The 40-byte bitmap information header that describes every frame.
struct BitmapInfoHeader {
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t coloursImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40, "the header is 40 bytes on every platform");

// A 24-bit frame format for a view's client area: each side rounded down to
// a multiple of 4, rows of blue, green, red bytes, bottom row first. With a
// bit count of 32 each pixel also has its alpha byte.
BitmapInfoHeader BitmapInfoForView(int clientWidth, int clientHeight, int bitCount = 24);

class PendingOutput;
class EncodedStream;
struct ContainerSpec;

// How the frames handed to the writer are laid out in memory. Either way
// the file holds the 24-bit picture of bitmapInfo; the fourth byte of a
// 32-bit pixel is ignored. OpenGL reads 32-bit pixels back several times
// faster than 24-bit ones, which matters on the rendering thread.
enum class FrameLayout { Bgr24, Bgrx32 };

class AviWriter {
public:
    std::string fileName = "Untitled1.avi";
    std::int32_t frameRate = 30;  // frames per second
    BitmapInfoHeader bitmapInfo{};
    // The rate is frameRate frames per frameRateScale seconds (30000 per
    // 1001 for the NTSC television rate).
    std::int32_t frameRateScale = 1;
    // Frames carry transparency (set before SetBitmapInfoFromView).
    bool alpha = false;
    std::int32_t frameIndex = 0;  // number of the next frame to write
    FrameLayout frameLayout = FrameLayout::Bgr24;  // set before Open
    // Encoder instances for an encoder whose frames stand alone (set before
    // Open); 0: one more than there are processors.
    int lanes = 0;

    AviWriter();
    ~AviWriter();  // an open writer is closed without keeping its file
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    void SetBitmapInfoFromView(int clientWidth, int clientHeight);
    // Appends ".avi" when the file's own name (not its folders) does not
    // contain "avi" anywhere, case-sensitively, and does not end in the
    // extension of another container the writer can make.
    void EnsureAviExtension();
    // The container the file name asks for.
    const ContainerSpec& container() const;

    // Creates the file, asks the platform for a compressor among those that
    // can write this frame size and rate, and writes the header. True when
    // ready; false after a message, or silently when the user cancelled the
    // chooser (then no file exists and cancelled() is true).
    bool Open();
    // Writes one frame of bitmapInfo's size in `frameLayout`. False after the message
    // "Unable to write data to stream."; the frame is lost, the numbering
    // goes on.
    bool WriteFrame(const std::uint8_t* pixels);
    // Finishes the file and gives it its name. True when the file is
    // complete or nothing was open; false after a message, and then
    // nothing is left at `fileName` from this recording.
    bool Close();
    // Closes without keeping anything: the file is removed, `fileName` is
    // left as it was.
    void Discard();

    // WriteFrame without the message, for an encoder thread. Counts the
    // frame whether or not it was written.
    bool EncodeFrame(const std::uint8_t* pixels);
    // EncodeFrame in two steps for several lanes (see EncodedStream):
    // encoding frame `number` on `lane`, then writing it, the frames in
    // their order. Writing counts the frame.
    bool EncodeFrameOn(int lane, const std::uint8_t* pixels, std::int64_t number);
    bool WriteEncodedFrame(int lane);
    // Encoder instances the open stream has (1 when none is open).
    int encoderLanes() const;

    bool isOpen() const { return stream_ != nullptr; }
    bool cancelled() const { return cancelled_; }
    // Bytes of one frame as WriteFrame and EncodeFrame read it.
    std::size_t frameBytes() const;
    // The chosen encoder's name, empty until Open succeeds.
    const std::string& encoderId() const { return encoderId_; }
    // How long one frame lasts in the file: 1 / frameRate, except where the
    // encoder's format fixes the rate (DV at 525 lines: 1001 / 30000).
    double secondsPerFrame() const { return secondsPerFrame_; }

private:
    bool CheckFrameFormat();

    std::unique_ptr<PendingOutput> file_;
    std::unique_ptr<EncodedStream> stream_;
    std::string encoderId_;
    double secondsPerFrame_ = 0;
    bool cancelled_ = false;
};

}  // namespace quorbel
