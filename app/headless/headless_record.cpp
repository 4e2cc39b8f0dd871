#include "app/headless/headless_record.h"

#include <GL/gl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "app/headless/headless_engine.h"
#include "app/headless/headless_runner.h"
#include "app/headless/record_request.h"
#include "platform/headless_platform.h"
#include "video/alpha_frames.h"
#include "video/avi_writer.h"
#include "video/container.h"
#include "video/encoder_catalog.h"
#include "video/recording.h"

namespace quorbel {

namespace {

// Answers the compressor chooser with the encoder and quality asked for on
// the command line, as a user would in the window.
class CommandLinePlatform : public HeadlessPlatform {
public:
    explicit CommandLinePlatform(const RecordOptions& options) : options_(options) {}
    std::optional<CompressorChoice> ChooseCompression(const std::vector<CompressorInfo>& offered) override {
        for (std::size_t i = 0; i < offered.size(); ++i) {
            if (!options_.codec.empty() && offered[i].id != options_.codec) continue;
            const bool hasQuality = offered[i].quality >= 0;
            return CompressorChoice{i, hasQuality && options_.quality > 0 ? options_.quality : offered[i].quality};
        }
        return std::nullopt;
    }

private:
    const RecordOptions& options_;
};

volatile std::sig_atomic_t interrupted = 0;
void OnInterrupt(int) { interrupted = 1; }

// Progress on stderr: one line that updates in place on a terminal, a plain
// line every tenth of the way otherwise (a log stays short and readable).
class ProgressReport : public RecordingObserver {
public:
    ProgressReport() : terminal_(isatty(STDERR_FILENO) != 0) {}
    void BeforeFrame(int index, int total) override {
        if (terminal_) {
            const auto now = std::chrono::steady_clock::now();
            if (index > 0 && now - lastShown_ < std::chrono::milliseconds(100)) return;
            lastShown_ = now;
            std::fprintf(stderr, "\rquorbel: recording frame %d of %d (%d %%) ", index + 1, total,
                         100 * index / total);
            return;
        }
        const int tenth = 10 * index / total;
        if (index == 0 || tenth == lastTenth_) return;
        lastTenth_ = tenth;
        std::fprintf(stderr, "quorbel: recorded %d of %d frames\n", index, total);
    }
    bool StopRequested() override { return interrupted != 0; }
    void End() const {
        if (terminal_) std::fputc('\n', stderr);
    }

private:
    bool terminal_;
    int lastTenth_ = 0;
    std::chrono::steady_clock::time_point lastShown_{};
};

class InterruptGuard {
public:
    InterruptGuard() {
        interrupted = 0;
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previous_);
    }
    ~InterruptGuard() { sigaction(SIGINT, &previous_, nullptr); }

private:
    struct sigaction previous_ {};
};

// The size of the file, or of all the pictures of a sequence.
double MegabytesWritten(const AviWriter& writer, int frames) {
    std::error_code error;
    if (!writer.container().pictureSequence) {
        const auto bytes = std::filesystem::file_size(writer.fileName, error);
        return error ? 0.0 : static_cast<double>(bytes) / 1e6;
    }
    double total = 0;
    for (int number = 1; number <= frames; ++number) {
        const auto bytes = std::filesystem::file_size(SequenceFrameName(writer.fileName, number), error);
        if (!error) total += static_cast<double>(bytes);
    }
    return total / 1e6;
}

// What was written: the file, or the first and last picture of a sequence.
std::string WrittenName(const AviWriter& writer, int frames) {
    if (!writer.container().pictureSequence) return writer.fileName;
    return SequenceFrameName(writer.fileName, 1) + " to " + SequenceFrameName(writer.fileName, frames);
}

void PrintSummary(const AviWriter& writer, const RecordingOutcome& outcome, double seconds) {
    const double videoSeconds = outcome.framesRecorded * writer.secondsPerFrame();
    std::fprintf(stderr,
                 "quorbel: %s %s: %d frames, %.2f s of video (%dx%d at %.4g frames per second, %s%s), %.1f MB; "
                 "recorded in %.2f s, %.1f frames per second\n",
                 outcome.stoppedEarly ? "stopped early, kept" : "wrote",
                 WrittenName(writer, outcome.framesRecorded).c_str(),
                 outcome.framesRecorded, videoSeconds, writer.bitmapInfo.width, writer.bitmapInfo.height,
                 1.0 / writer.secondsPerFrame(), writer.encoderId().c_str(), writer.alpha ? ", with transparency" : "",
                 MegabytesWritten(writer, outcome.framesRecorded), seconds,
                 seconds > 0 ? outcome.framesRecorded / seconds : 0.0);
    // Pictures carry no rate of their own: the editor has to be told.
    if (writer.container().pictureSequence)
        std::fprintf(stderr, "quorbel: import the pictures at %.4g frames per second\n",
                     1.0 / writer.secondsPerFrame());
}

}  // namespace

std::optional<std::string> PrepareRecording(HeadlessOptions& options) {
    RecordRequest request;
    if (auto error = ResolveRecording(options, request)) return error;
    options.width = request.surfaceWidth;
    options.height = request.surfaceHeight;
    if (!options.framesGiven) options.frames = request.defaultFrames;
    if (options.record.listCodecs()) return std::nullopt;
    if (!options.snapshotPath.empty()) return std::string("--record and --snapshot cannot be combined");
    return CheckCodec(request, options.record.codec);
}

int ListCodecs(const HeadlessOptions& options) {
    RecordRequest request;
    if (auto error = ResolveRecording(options, request)) {
        std::fprintf(stderr, "quorbel: %s\n", error->c_str());
        return 2;
    }
    std::printf("Encoders for %s%s (the first of each kind is its default):\n", FormatText(request.format).c_str(),
                options.record.alpha ? " with transparency" : "");
    for (const ContainerSpec& container : ContainerCatalog()) {
        if (!options.record.path.empty() && &container != request.container) continue;
        RecordingFormat format = request.format;
        format.container = &container;
        const auto offered = AvailableEncoders(format);
        std::printf("%s files (%s):\n", container.extension, container.description);
        for (const EncoderSpec* spec : offered)
            std::printf("  %-11s %s%s%s\n", spec->id, spec->description,
                        spec->hasQuality ? (", quality " + std::to_string(kDefaultQuality)).c_str() : "",
                        CarriesAlpha(*spec) ? "; keeps transparency (--alpha)" : "");
        if (offered.empty()) std::printf("  (none for this size, rate and transparency here)\n");
    }
    return 0;
}

int RecordHeadless(HeadlessEngine& engine, const HeadlessOptions& options) {
    AviWriter writer;
    writer.fileName = options.record.path;
    writer.EnsureAviExtension();
    RecordRequest request;
    ResolveRecording(options, request);  // checked by PrepareRecording already
    writer.frameRate = request.format.rate.frames;
    writer.frameRateScale = request.format.rate.seconds;
    writer.alpha = options.record.alpha;
    writer.SetBitmapInfoFromView(engine.width(), engine.height());

    CommandLinePlatform platform(options.record);
    SetPlatform(&platform);
    glReadBuffer(GL_BACK);
    SceneFrameSource opaque;
    std::unique_ptr<AlphaSceneFrameSource> transparent;
    if (writer.alpha)
        transparent = std::make_unique<AlphaSceneFrameSource>(writer.bitmapInfo.width, writer.bitmapInfo.height);
    FrameSource& source = transparent ? static_cast<FrameSource&>(*transparent) : opaque;
    ProgressReport progress;
    const auto start = std::chrono::steady_clock::now();
    RecordingOutcome outcome;
    {
        InterruptGuard guard;
        outcome = Record(writer, options.frames, source, progress);
    }
    transparent.reset();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    progress.End();
    SetPlatform(nullptr);

    if (options.frames == 0) {
        std::fprintf(stderr, "quorbel: 0 frames asked: nothing recorded, no file written\n");
        return 0;
    }
    if (outcome.opened && outcome.stoppedEarly && outcome.framesRecorded == 0) {
        std::fprintf(stderr, "quorbel: stopped before the first frame: nothing recorded, no file written\n");
        return 130;
    }
    if (!outcome.saved) return 1;
    PrintSummary(writer, outcome, seconds);
    return outcome.writeFailed ? 1 : 0;
}

}  // namespace quorbel
