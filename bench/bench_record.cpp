// What recording costs beside rendering, at 720 x 480, for the default scene
// and the heavy one (the scenes bench_scene measures): frames per second
// rendering alone, the read-back per frame, encoding alone for each offered
// encoder (the same frames, one thread), and recording (render, read back,
// encode on the second thread), with the ratio of recording time to
// rendering time.
//
// Then the editors' formats at their sizes, a spinning title: 1080p at 60
// with transparency into .mov, 1080p H.264 .mp4, a 1080p PNG sequence and
// 2160p ProRes, each with the suggested encoder. Each row gives recording
// frames per second beside rendering alone (render and read back, no
// encoder) and encoding alone (the same frames, already rendered, through
// the recording's encoding threads), all in one run.
//
//   bench_record [--frames N] [--repeats N] [--heavy-frames N] [--heavy-every-encoder]
//                [--editor-frames N] [--only-editors] [--codec-for-mov ID]
#include <GL/gl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/headless/headless_engine.h"
#include "bench/scenes.h"
#include "platform/steady_memory.h"
#include "platform/headless_platform.h"
#include "scene/scene_state.h"
#include "video/alpha_frames.h"
#include "video/avi_writer.h"
#include "video/container.h"
#include "video/encoder_catalog.h"
#include "video/recording.h"

namespace {

using Clock = std::chrono::steady_clock;
using quorbel::scene;

constexpr int kWidth = 720;
constexpr int kHeight = 480;
// Frames rendered before measuring, so the particles and the fire have spread.
constexpr int kWarmupFrames = 30;
constexpr int kHeavyWarmupFrames = 5;
constexpr int kEncodeSampleFrames = 30;  // rendered once, encoded over and over

quorbel::HeadlessEngine* engine = nullptr;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void DefaultScene() { quorbel::bench::DefaultScene(*engine, "bench_record"); }
void HeavyScene() { quorbel::bench::HeavyScene(*engine, "bench_record"); }

int WarmupFrames(void (*setUp)()) { return setUp == HeavyScene ? kHeavyWarmupFrames : kWarmupFrames; }

// Picks one encoder by name, as a user would in the chooser.
class PickEncoder : public quorbel::HeadlessPlatform {
public:
    std::string id;
    std::optional<quorbel::CompressorChoice> ChooseCompression(
        const std::vector<quorbel::CompressorInfo>& offered) override {
        for (std::size_t i = 0; i < offered.size(); ++i)
            if (offered[i].id == id) return quorbel::CompressorChoice{i, offered[i].quality};
        return std::nullopt;
    }
};

class Quiet : public quorbel::RecordingObserver {
    void BeforeFrame(int, int) override {}
};

std::string ScratchFile() { return (std::filesystem::temp_directory_path() / "bench_record.avi").string(); }

bool OpenWriter(quorbel::AviWriter& writer, PickEncoder& platform, const std::string& id) {
    platform.id = id;
    writer.fileName = ScratchFile();
    writer.SetBitmapInfoFromView(kWidth, kHeight);
    writer.frameLayout = quorbel::FrameLayout::Bgrx32;  // as the recording reads frames back
    return writer.Open();
}

// Processor time of the whole process (every thread, finished ones too).
double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A timed run: frames per second, and the processor time per frame of the
// rendering side (the renderer's threads, without the encoding thread).
struct Rate {
    double fps = 0;
    double renderCpuMs = 0;
    double encodeCpuMs = 0;
};

Rate RenderOnly(void (*setUp)(), int frames) {
    setUp();
    engine->RenderFrames(WarmupFrames(setUp));
    const auto start = Clock::now();
    const double cpu = ProcessCpuSeconds();
    engine->RenderFrames(frames);  // each frame ends with glFinish
    return {frames / SecondsSince(start), 1000.0 * (ProcessCpuSeconds() - cpu) / frames, 0};
}

// The frame just rendered, read again and again: the copy alone.
double ReadBackMs(GLenum format, int frames) {
    std::vector<std::uint8_t> buffer(std::size_t{kWidth} * kHeight * 4);
    glFinish();
    const auto start = Clock::now();
    for (int i = 0; i < frames; ++i) glReadPixels(0, 0, kWidth, kHeight, format, GL_UNSIGNED_BYTE, buffer.data());
    return 1000.0 * SecondsSince(start) / frames;
}

// A few rendered frames, kept to feed every encoder the same pictures.
std::vector<std::vector<std::uint8_t>> SampleFrames(void (*setUp)(), int count) {
    setUp();
    engine->RenderFrames(WarmupFrames(setUp));
    std::vector<std::vector<std::uint8_t>> frames(static_cast<std::size_t>(count),
                                                  std::vector<std::uint8_t>(std::size_t{kWidth} * kHeight * 4));
    quorbel::SceneFrameSource source;
    for (auto& frame : frames) source.RenderInto(frame.data(), kWidth, kHeight);
    return frames;
}

double EncodeOnlyFps(PickEncoder& platform, const std::string& id,
                     const std::vector<std::vector<std::uint8_t>>& frames, int count) {
    quorbel::AviWriter writer;
    if (!OpenWriter(writer, platform, id)) return 0;
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i) writer.EncodeFrame(frames[static_cast<std::size_t>(i) % frames.size()].data());
    writer.Close();
    const double fps = count / SecondsSince(start);
    std::filesystem::remove(writer.fileName);
    return fps;
}

Rate Recording(void (*setUp)(), PickEncoder& platform, const std::string& id, int frames) {
    setUp();
    engine->RenderFrames(WarmupFrames(setUp));
    quorbel::AviWriter writer;
    writer.fileName = ScratchFile();
    writer.SetBitmapInfoFromView(kWidth, kHeight);
    platform.id = id;
    quorbel::SceneFrameSource source;
    Quiet quiet;
    const auto start = Clock::now();
    const double cpu = ProcessCpuSeconds();
    const auto outcome = quorbel::Record(writer, frames, source, quiet);
    const double seconds = SecondsSince(start), used = ProcessCpuSeconds() - cpu;
    std::filesystem::remove(writer.fileName);
    if (!outcome.saved || outcome.framesRecorded == 0) return {};
    const double perFrame = 1000.0 / outcome.framesRecorded;
    return {outcome.framesRecorded / seconds, (used - outcome.encodingCpuSeconds) * perFrame,
            outcome.encodingCpuSeconds * perFrame};
}

struct Runs {
    int frames;   // per timed run
    int repeats;  // the best of this many runs counts: the machine may be busy with other work
};

// Rendering alone and recording, taken in turns so both see the same load;
// the fastest run of each counts.
void CompareWithRendering(void (*setUp)(), PickEncoder& platform, const quorbel::EncoderSpec& spec, Runs runs,
                          const std::vector<std::vector<std::uint8_t>>& samples) {
    double encodeFps = 0;
    Rate alone, recording;
    for (int i = 0; i < runs.repeats; ++i) {
        encodeFps = std::max(encodeFps, EncodeOnlyFps(platform, spec.id, samples, std::max(runs.frames, 60)));
        const Rate a = RenderOnly(setUp, runs.frames);
        if (a.fps > alone.fps) alone = a;
        const Rate r = Recording(setUp, platform, spec.id, runs.frames);
        if (r.fps > recording.fps) recording = r;
    }
    // With a processor to spare for the encoding thread, a frame takes the
    // longer of the rendering side and the encoder.
    const double spareCoreRatio =
        std::max(recording.renderCpuMs, recording.encodeCpuMs) / std::max(alone.renderCpuMs, 1e-9);
    std::printf("  %-9s %10.1f %10.1f %10.1f %9.3f   %8.2f %8.2f %8.2f %9.3f\n", spec.id, encodeFps, alone.fps,
                recording.fps, recording.fps > 0 ? alone.fps / recording.fps : 0.0, alone.renderCpuMs,
                recording.renderCpuMs, recording.encodeCpuMs, spareCoreRatio);
    std::fflush(stdout);
}

void MeasureScene(const char* title, void (*setUp)(), Runs runs, bool everyEncoder, PickEncoder& platform) {
    const auto samples = SampleFrames(setUp, std::min(runs.frames, kEncodeSampleFrames));
    const double readBack = ReadBackMs(GL_BGR, 100);
    const double readBackFourBytes = ReadBackMs(GL_BGRA, 100);
    std::printf("\n%s scene, %dx%d, best of %d runs of %d frames; read-back %.2f ms per frame (%.2f ms as BGRA)\n",
                title, kWidth, kHeight, runs.repeats, runs.frames, readBack, readBackFourBytes);
    std::printf("  %-9s %10s %10s %10s %9s | %26s %9s\n", "", "", "", "", "", "processor ms per frame", "");
    std::printf("  %-9s %10s %10s %10s %9s | %8s %8s %8s %9s\n", "encoder", "encode fps", "render fps",
                "record fps", "rec/rend", "render", "rec:rend", "rec:enc", "spare-core");
    for (const quorbel::EncoderSpec* spec : quorbel::AvailableEncoders(kWidth, kHeight, 30)) {
        CompareWithRendering(setUp, platform, *spec, runs, samples);
        if (!everyEncoder) break;
    }
}

// ----- the editors' formats --------------------------------------------------------------

struct EditorRow {
    const char* title;
    int width, height, rate;
    bool alpha;
    const char* extension;
    const char* codec;  // empty: the container's suggested encoder
    int frames;
};

// A title spinning about its upright axis: every frame differs everywhere
// the letters are.
void SpinningTitle(quorbel::HeadlessEngine& engine) {
    quorbel::bench::FreshScene(engine, "bench_record");
    scene.textSpinY = 2;
    scene.textSpinSpeedY = 20;
}

// Replays frames rendered earlier, as fast as they can be copied.
class ReplaySource : public quorbel::FrameSource {
public:
    explicit ReplaySource(const std::vector<std::vector<std::uint8_t>>& frames) : frames_(frames) {}
    void RenderInto(std::uint8_t* pixels, int, int) override {
        const auto& frame = frames_[next_++ % frames_.size()];
        std::memcpy(pixels, frame.data(), frame.size());
    }

private:
    const std::vector<std::vector<std::uint8_t>>& frames_;
    std::size_t next_ = 0;
};

std::unique_ptr<quorbel::FrameSource> SourceFor(const EditorRow& row) {
    if (row.alpha) return std::make_unique<quorbel::AlphaSceneFrameSource>(row.width, row.height);
    return std::make_unique<quorbel::SceneFrameSource>();
}

// Frames per second through the recording (render or replay, then the
// encoding threads), and how many frames the file got.
double RecordRow(const EditorRow& row, PickEncoder& platform, quorbel::FrameSource& source,
                 const std::filesystem::path& folder) {
    quorbel::AviWriter writer;
    writer.fileName = (folder / (std::string("row") + row.extension)).string();
    writer.frameRate = row.rate;
    writer.alpha = row.alpha;
    writer.SetBitmapInfoFromView(row.width, row.height);
    const auto offered = quorbel::AvailableEncoders(
        {&writer.container(), writer.bitmapInfo.width, writer.bitmapInfo.height, {row.rate, 1}, row.alpha});
    if (offered.empty()) return 0;
    platform.id = *row.codec ? row.codec : offered.front()->id;
    Quiet quiet;
    const auto start = Clock::now();
    const auto outcome = quorbel::Record(writer, row.frames, source, quiet);
    const double seconds = SecondsSince(start);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    if (!outcome.saved || outcome.framesRecorded != row.frames) return 0;
    return row.frames / seconds;
}

// Rendering and reading back alone, the same frames as the recording.
double RenderRowOnly(const EditorRow& row, quorbel::FrameSource& source, std::vector<std::uint8_t>& buffer) {
    const auto start = Clock::now();
    for (int i = 0; i < row.frames; ++i) source.RenderInto(buffer.data(), row.width, row.height);
    return row.frames / SecondsSince(start);
}

void MeasureEditorRow(const EditorRow& row, PickEncoder& platform, const std::filesystem::path& folder) {
    std::string error;
    auto rowEngine = quorbel::HeadlessEngine::Create(row.width, row.height, error);
    if (!rowEngine) {
        std::printf("  %-30s no OpenGL at this size: %s\n", row.title, error.c_str());
        return;
    }
    glReadBuffer(GL_BACK);
    const std::size_t bytes = std::size_t{4} * row.width * row.height;
    std::vector<std::uint8_t> buffer(bytes);
    auto source = SourceFor(row);
    SpinningTitle(*rowEngine);
    rowEngine->RenderFrames(kWarmupFrames);
    const double render = RenderRowOnly(row, *source, buffer);
    SpinningTitle(*rowEngine);
    rowEngine->RenderFrames(kWarmupFrames);
    const double record = RecordRow(row, platform, *source, folder);
    // The same frames again, kept to be encoded without rendering.
    SpinningTitle(*rowEngine);
    rowEngine->RenderFrames(kWarmupFrames);
    constexpr std::size_t kKeptBytes = std::size_t{400} << 20;
    const std::size_t keep = std::clamp<std::size_t>(kKeptBytes / bytes, 1, static_cast<std::size_t>(row.frames));
    std::vector<std::vector<std::uint8_t>> kept(keep, std::vector<std::uint8_t>(bytes));
    for (auto& frame : kept) source->RenderInto(frame.data(), row.width, row.height);
    ReplaySource replay(kept);
    const double encode = RecordRow(row, platform, replay, folder);
    // The aim for encoders that run side by side: recording keeps up with
    // the slower of the two limits.
    const quorbel::EncoderSpec* spec = quorbel::FindEncoderSpec(platform.id);
    const double goal = std::min(0.85 * encode, render / 1.1);
    std::printf("  %-30s %-10s %6d %9.1f %9.1f %9.1f", row.title, platform.id.c_str(), row.frames, record, render,
                encode);
    if (spec && spec->framesStandAlone) std::printf(" %9.1f  %s", goal, record >= goal ? "met" : "MISSED");
    std::printf("\n");
    std::fflush(stdout);
}

void MeasureEditorFormats(int frames, const char* movCodec, PickEncoder& platform) {
    const EditorRow rows[] = {
        {"1920x1080@60 --alpha .mov", 1920, 1080, 60, true, ".mov", movCodec, frames},
        {"1920x1080@30 .mp4", 1920, 1080, 30, false, ".mp4", "", frames},
        {"1920x1080@30 .png sequence", 1920, 1080, 30, false, ".png", "", frames},
        {"3840x2160@30 .mov", 3840, 2160, 30, false, ".mov", movCodec, std::max(1, frames / 4)},
    };
    const auto folder = std::filesystem::temp_directory_path() / ("bench_record_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::printf("\nEditors' formats, a spinning title (one run each; goal: the lower of 0.85 x encode and render / 1.1)\n");
    std::printf("  %-30s %-10s %6s %9s %9s %9s %9s\n", "format", "encoder", "frames", "rec fps", "rend fps",
                "enc fps", "goal fps");
    for (const EditorRow& row : rows) MeasureEditorRow(row, platform, folder);
    std::filesystem::remove_all(folder);
}

const char* TextArgument(int argc, char** argv, const char* name, const char* fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
    return fallback;
}

int WholeArgument(int argc, char** argv, const char* name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return std::max(1, std::atoi(argv[i + 1]));
    return fallback;
}

bool HasFlag(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    quorbel::KeepResidentMemorySteady();  // as the program starts
    const Runs light{WholeArgument(argc, argv, "--frames", 200), WholeArgument(argc, argv, "--repeats", 3)};
    const Runs heavy{WholeArgument(argc, argv, "--heavy-frames", 10), 1};
    quorbel::bench::EnterDataFolder();
    PickEncoder platform;
    quorbel::SetPlatform(&platform);
    const int editorFrames = WholeArgument(argc, argv, "--editor-frames", 120);
    const char* movCodec = TextArgument(argc, argv, "--codec-for-mov", "");
    if (!HasFlag(argc, argv, "--only-editors")) {
        std::string error;
        std::unique_ptr<quorbel::HeadlessEngine> owner = quorbel::HeadlessEngine::Create(kWidth, kHeight, error);
        if (!owner) {
            std::fprintf(stderr, "bench_record: no usable OpenGL: %s\n", error.c_str());
            return 1;
        }
        engine = owner.get();
        glReadBuffer(GL_BACK);
        std::printf(
            "rec/rend: recording time over rendering time (the aim: at most 1.1). Processor time per frame:\n"
            "  render: rendering alone; rec:rend and rec:enc: the rendering side and the encoding threads while\n"
            "  recording; spare-core: the ratio where the encoding threads have a processor of their own\n"
            "  (the longer of rec:rend and rec:enc over render). %ld processors online.\n",
            sysconf(_SC_NPROCESSORS_ONLN));
        MeasureScene("default", DefaultScene, light, true, platform);
        // A heavy frame takes about a second here; every encoder would take minutes.
        MeasureScene("heavy", HeavyScene, heavy, HasFlag(argc, argv, "--heavy-every-encoder"), platform);
        engine = nullptr;
    }
    MeasureEditorFormats(editorFrames, movCodec, platform);
    quorbel::SetPlatform(nullptr);
    return 0;
}
