#include "video/avi_writer.h"

#include <algorithm>
#include <thread>

#include "platform/platform.h"
#include "platform/write_target.h"
#include "video/avi_messages.h"
#include "video/container.h"
#include "video/encoded_stream.h"
#include "video/encoder_catalog.h"
#include "video/pending_file.h"
#include "video/pending_sequence.h"

extern "C" {
#include <libavutil/error.h>
}

namespace quorbel {

namespace {

constexpr const char* kExtensionMark = "avi";

std::string FormatDescription(const RecordingFormat& format) {
    std::string text = "no encoder can write " + std::to_string(format.width) + " x " + std::to_string(format.height) +
                       " frames at " + FrameRateText(format.rate) + " frames per second";
    if (format.alpha) text += " with transparency";
    const ContainerKind kind = format.container->kind;
    if (kind != ContainerKind::Avi) text += std::string(" into a ") + format.container->extension + " file";
    if (format.alpha && (kind == ContainerKind::Avi || kind == ContainerKind::Mp4))
        text += "; .mov, .webm and .png files keep transparency";
    return text;
}

// One encoder more than there are processors: frames are written in their
// order, so a lane that has encoded a frame waits for the lane before it,
// and the spare lane keeps the processors busy meanwhile (4 % more frames a
// second on two processors with ProRes 4444).
int LanesFor(const EncoderSpec& spec, int asked) {
    if (!spec.framesStandAlone) return 1;
    constexpr int kMostLanes = 16;
    const int processors = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(asked > 0 ? asked : processors + 1, 1, kMostLanes);
}

// A recording is put in place by renames, which would replace a pipe or a
// device of the same name; such a target is refused before anything is made.
std::optional<std::string> TargetRefusal(const ContainerSpec& container, const std::string& fileName) {
    return container.pictureSequence ? PendingSequence::TargetRefusal(fileName) : WriteTargetRefusal(fileName);
}

std::unique_ptr<PendingOutput> CreatePending(const ContainerSpec& container, const std::string& fileName,
                                             int& error) {
    if (container.pictureSequence) return PendingSequence::Create(fileName, error);
    return PendingFile::Create(fileName, error);
}

}  // namespace

BitmapInfoHeader BitmapInfoForView(int clientWidth, int clientHeight, int bitCount) {
    BitmapInfoHeader info;
    info.size = sizeof(BitmapInfoHeader);
    info.width = std::max(clientWidth, 0) / 4 * 4;
    info.height = std::max(clientHeight, 0) / 4 * 4;
    info.planes = 1;
    info.bitCount = static_cast<std::uint16_t>(bitCount == 32 ? 32 : 24);
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(info.width) * info.bitCount + 31) / 32 * 4;
    info.imageSize = rowBytes * static_cast<std::uint32_t>(info.height);
    return info;
}

AviWriter::AviWriter() = default;
AviWriter::~AviWriter() = default;

void AviWriter::SetBitmapInfoFromView(int clientWidth, int clientHeight) {
    bitmapInfo = BitmapInfoForView(clientWidth, clientHeight, alpha ? 32 : 24);
}

void AviWriter::EnsureAviExtension() {
    if (HasOtherContainerExtension(fileName)) return;
    // Only the file's own name counts: a folder such as /home/david must not
    // stop a bare "clip" from getting its extension.
    const std::size_t slash = fileName.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (fileName.find(kExtensionMark, nameStart) == std::string::npos) fileName += ".avi";
}

const ContainerSpec& AviWriter::container() const { return ContainerForName(fileName); }

std::size_t AviWriter::frameBytes() const {
    const std::size_t bytesPerPixel = frameLayout == FrameLayout::Bgrx32 || alpha ? 4 : 3;
    return static_cast<std::size_t>(std::max(bitmapInfo.width, 0)) * std::max(bitmapInfo.height, 0) * bytesPerPixel;
}

bool AviWriter::CheckFrameFormat() {
    const bool usable = bitmapInfo.width > 0 && bitmapInfo.height > 0 && bitmapInfo.width % 4 == 0 &&
                        bitmapInfo.bitCount == (alpha ? 32 : 24) &&
                        bitmapInfo.imageSize >=
                            static_cast<std::size_t>(bitmapInfo.width) * bitmapInfo.height * (alpha ? 4 : 3);
    if (!usable) ShowError(StreamCreationFailedMessage("the frame size is " + std::to_string(bitmapInfo.width) +
                                                       " x " + std::to_string(bitmapInfo.height)));
    return usable;
}

bool AviWriter::Open() {
    Discard();
    cancelled_ = false;
    int error = 0;
    const ContainerSpec& kind = container();
    if (auto refusal = TargetRefusal(kind, fileName)) {
        ShowError(*refusal);
        return false;
    }
    auto file = CreatePending(kind, fileName, error);
    if (!file) {
        ShowError(OpenFailedMessage(fileName, AVERROR(error)));
        return false;
    }
    if (!CheckFrameFormat()) return false;
    const int width = bitmapInfo.width, height = bitmapInfo.height;
    const RecordingFormat wanted{&kind, width, height, {frameRate, frameRateScale}, alpha};
    const auto encoders = AvailableEncoders(wanted);
    if (encoders.empty()) {
        ShowError(StreamCreationFailedMessage(FormatDescription(wanted)));
        return false;
    }
    const auto choice = CurrentPlatform().ChooseCompression(DescribeForChooser(encoders));
    if (!choice || choice->index >= encoders.size()) {
        cancelled_ = true;  // the pending file goes with `file`; nothing to say
        return false;
    }
    const EncoderSpec& spec = *encoders[choice->index];
    const StreamFormat format = *FormatFor(spec, wanted);
    const EncodedStream::Settings settings{&spec,  format, width,  height, choice->quality,
                                           frameLayout == FrameLayout::Bgrx32, &kind, alpha, LanesFor(spec, lanes)};
    EncodedStream::Failure failure;
    auto stream = EncodedStream::Open(file->temporaryPath(), settings, failure);
    if (!stream) {
        switch (failure.stage) {
            case EncodedStream::Stage::File: ShowError(OpenFailedMessage(fileName, failure.error)); break;
            case EncodedStream::Stage::Stream:
                ShowError(StreamCreationFailedMessage(spec.id + (": " + ErrorText(failure.error))));
                break;
            case EncodedStream::Stage::Header: ShowError(FormatSettingFailedMessage(failure.error)); break;
        }
        return false;
    }
    file_ = std::move(file);
    stream_ = std::move(stream);
    encoderId_ = spec.id;
    secondsPerFrame_ = static_cast<double>(format.timeBase.num) / format.timeBase.den;
    frameIndex = 0;
    return true;
}

bool AviWriter::EncodeFrame(const std::uint8_t* pixels) {
    ++frameIndex;
    return stream_ && pixels && stream_->Write(pixels) == 0;
}

bool AviWriter::EncodeFrameOn(int lane, const std::uint8_t* pixels, std::int64_t number) {
    return stream_ && pixels && lane < stream_->lanes() && stream_->Encode(lane, pixels, number) == 0;
}

bool AviWriter::WriteEncodedFrame(int lane) {
    ++frameIndex;
    return stream_ && lane < stream_->lanes() && stream_->WriteEncoded(lane) == 0;
}

int AviWriter::encoderLanes() const { return stream_ ? stream_->lanes() : 1; }

bool AviWriter::WriteFrame(const std::uint8_t* pixels) {
    if (EncodeFrame(pixels)) return true;
    ShowError(kWriteFailedMessage);
    return false;
}

bool AviWriter::Close() {
    if (!stream_) return true;
    int error = stream_->Finish();
    stream_.reset();
    if (error == 0) error = AVERROR(file_->Commit());
    file_.reset();
    if (error == 0) return true;
    ShowError(FinishFailedMessage(fileName, error));
    return false;
}

void AviWriter::Discard() {
    stream_.reset();
    file_.reset();
}

}  // namespace quorbel
