#include "app/headless/headless_record.h"

#include <GL/gl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/headless/headless_engine.h"
#include "app/headless/headless_runner.h"
#include "platform/headless_platform.h"
#include "video/avi_writer.h"
#include "video/encoder_catalog.h"
#include "video/recording.h"

namespace quorbel {

namespace {

struct Standard {
    int width, height, frameRate;
};

Standard StandardOf(const HeadlessOptions& options) {
    if (options.record.standard == "ntsc") return {720, 480, 30};
    if (options.record.standard == "pal") return {720, 576, 25};
    return {options.width, options.height, 30};
}

std::string OfferedNames(const std::vector<const EncoderSpec*>& encoders) {
    std::string names;
    for (const EncoderSpec* spec : encoders) names += (names.empty() ? "" : ", ") + std::string(spec->id);
    return names.empty() ? "none" : names;
}

std::string FormatText(const BitmapInfoHeader& info, int frameRate) {
    return std::to_string(info.width) + "x" + std::to_string(info.height) + " at " + std::to_string(frameRate) +
           " frames per second";
}

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

void PrintSummary(const AviWriter& writer, const RecordingOutcome& outcome, double seconds) {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(writer.fileName, error);
    const double videoSeconds = outcome.framesRecorded * writer.secondsPerFrame();
    std::fprintf(stderr,
                 "quorbel: %s %s: %d frames, %.2f s of video (%dx%d at %.4g frames per second, %s), %.1f MB; "
                 "recorded in %.2f s, %.1f frames per second\n",
                 outcome.stoppedEarly ? "stopped early, kept" : "wrote", writer.fileName.c_str(),
                 outcome.framesRecorded, videoSeconds, writer.bitmapInfo.width, writer.bitmapInfo.height,
                 1.0 / writer.secondsPerFrame(), writer.encoderId().c_str(),
                 error ? 0.0 : static_cast<double>(bytes) / 1e6, seconds,
                 seconds > 0 ? outcome.framesRecorded / seconds : 0.0);
}

}  // namespace

bool IsRecordOption(const std::string& option) {
    return option == "--record" || option == "--standard" || option == "--codec" || option == "--quality";
}

std::optional<std::string> ParseRecordOption(const std::string& option, const std::string& value,
                                             RecordOptions& options) {
    if (option == "--record") {
        if (value.empty()) return std::string("bad --record '': expected a file name");
        options.path = value;
    } else if (option == "--standard") {
        if (value != "ntsc" && value != "pal") return "bad --standard '" + value + "': expected ntsc or pal";
        options.standard = value;
    } else if (option == "--codec") {
        if (value != "list" && !FindEncoderSpec(value))
            return "unknown --codec '" + value + "': see quorbel --codec list";
        options.codec = value;
    } else if (option == "--quality") {
        char* end = nullptr;
        const long quality = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || quality < 1 || quality > 100)
            return "bad --quality '" + value + "': expected a whole number from 1 to 100";
        options.quality = static_cast<int>(quality);
    }
    return std::nullopt;
}

std::optional<std::string> PrepareRecording(HeadlessOptions& options) {
    const Standard standard = StandardOf(options);
    options.width = standard.width;
    options.height = standard.height;
    if (!options.framesGiven) options.frames = 10 * standard.frameRate;
    if (options.record.listCodecs()) return std::nullopt;
    if (!options.snapshotPath.empty()) return std::string("--record and --snapshot cannot be combined");
    const BitmapInfoHeader info = BitmapInfoForView(standard.width, standard.height);
    if (info.width == 0 || info.height == 0)
        return "cannot record at " + std::to_string(standard.width) + "x" + std::to_string(standard.height) +
               ": each side must be at least 4 pixels";
    const auto offered = AvailableEncoders(info.width, info.height, standard.frameRate);
    const std::string& codec = options.record.codec;
    bool found = offered.empty() ? false : codec.empty();
    for (const EncoderSpec* spec : offered) found = found || codec == spec->id;
    if (!found)
        return "cannot record " + FormatText(info, standard.frameRate) + " with " +
               (codec.empty() ? std::string("any encoder") : "--codec " + codec) +
               " here; offered: " + OfferedNames(offered);
    return std::nullopt;
}

int ListCodecs(const HeadlessOptions& options) {
    const Standard standard = StandardOf(options);
    const BitmapInfoHeader info = BitmapInfoForView(standard.width, standard.height);
    const auto offered = AvailableEncoders(info.width, info.height, standard.frameRate);
    std::printf("Encoders for %s (the first is the default):\n", FormatText(info, standard.frameRate).c_str());
    for (const EncoderSpec* spec : offered)
        std::printf("  %-9s %s%s\n", spec->id, spec->description,
                    spec->hasQuality ? (", quality " + std::to_string(kDefaultQuality)).c_str() : "");
    if (offered.empty()) std::printf("  (none: this FFmpeg has no encoder for this size)\n");
    return 0;
}

int RecordHeadless(HeadlessEngine& engine, const HeadlessOptions& options) {
    AviWriter writer;
    writer.fileName = options.record.path;
    writer.EnsureAviExtension();
    writer.frameRate = StandardOf(options).frameRate;
    writer.SetBitmapInfoFromView(engine.width(), engine.height());

    CommandLinePlatform platform(options.record);
    SetPlatform(&platform);
    glReadBuffer(GL_BACK);
    SceneFrameSource source;
    ProgressReport progress;
    const auto start = std::chrono::steady_clock::now();
    RecordingOutcome outcome;
    {
        InterruptGuard guard;
        outcome = Record(writer, options.frames, source, progress);
    }
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
