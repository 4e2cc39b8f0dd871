// Frames per second of the headless engine at 720 x 480, for the default
// scene and for a heavy one (30000 particles, tunnel, stars, tiles, fire and
// the radial blur on text and particles at its highest density), on both
// drawing paths (classic OpenGL 1.1 and fast), and the time each effect
// routine of the frame takes.
//
// The machine may be shared: besides wall-clock time every run reports the
// processor time of the whole process (the renderer's threads included),
// which other programs disturb less. The side-by-side runs alternate one
// frame of each path, so that a change in the machine's load hits both.
//
// Every timed frame ends with the renderer finished (glFinish), and both
// paths get the same warm-up frames, untimed. The process starts the way
// the program does (its memory settings), and the last row runs the heavy
// scene through the program itself (`quorbel --snapshot`, start-up
// included) in a folder without a settings file, so it draws what the rows
// above draw, and this figure and the command line cannot disagree.
//
// The per-routine profile waits for the renderer (glFinish) at every routine
// the frame reports, so its frames are slower than the plain runs; it shows
// the share of each layer, the plain runs show the real rate.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "app/headless/headless_engine.h"
#include "bench/scenes.h"
#include "platform/steady_memory.h"
#include "effects/blur.h"
#include "effects/particles.h"
#include "scene/frame_trace.h"
#include "scene/render_path.h"
#include "scene/scene_state.h"

namespace {

using Clock = std::chrono::steady_clock;
using quorbel::RenderPath;
using quorbel::scene;

constexpr int kWidth = 720;
constexpr int kHeight = 480;
// Frames rendered before measuring, so the particles and the fire have spread.
constexpr int kWarmupFrames = 30;
constexpr int kHeavyWarmupFrames = 10;

quorbel::HeadlessEngine* engine = nullptr;

const char* PathName(RenderPath path) { return path == RenderPath::Classic ? "classic" : "fast"; }

// Processor time of the whole process, all threads, in seconds.
double ProcessSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec); };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void DefaultScene() { quorbel::bench::DefaultScene(*engine, "bench_scene"); }
void HeavyScene() { quorbel::bench::HeavyScene(*engine, "bench_scene"); }

int WarmupFrames(void (*setUp)()) { return setUp == HeavyScene ? kHeavyWarmupFrames : kWarmupFrames; }

void StartScene(void (*setUp)(), RenderPath path) {
    quorbel::RequestRenderPath(path);
    setUp();
    engine->RenderFrames(WarmupFrames(setUp));
}

void RunFrames(benchmark::State& state, void (*setUp)(), RenderPath path) {
    StartScene(setUp, path);
    const double processStart = ProcessSeconds();
    for (auto _ : state) engine->RenderFrames(1);  // each frame ends with glFinish
    const double iterations = static_cast<double>(state.iterations());
    state.counters["fps"] = benchmark::Counter(iterations, benchmark::Counter::kIsRate);
    state.counters["cpu_ms/frame"] = 1000.0 * (ProcessSeconds() - processStart) / iterations;
}

// ----- both paths side by side ----------------------------------------------------------

struct PathTotals {
    double wall = 0, process = 0;
    long frames = 0;
    double Fps() const { return frames / wall; }
    double ProcessMs() const { return 1000.0 * process / frames; }
};

struct SideBySide {
    PathTotals classic, fast;
};
std::map<std::string, SideBySide> sideBySide;

void TimedFrame(RenderPath path, PathTotals& totals) {
    quorbel::RequestRenderPath(path);
    const double process = ProcessSeconds();
    const Clock::time_point start = Clock::now();
    engine->RenderFrames(1);
    totals.wall += Since(start);
    totals.process += ProcessSeconds() - process;
    ++totals.frames;
}

// One frame on each path in turn, on one scene: the paths draw the same
// frames, so the scene goes on as if one path drew them all. Each path
// warms up as many frames as a run of its own would.
void RunSideBySide(benchmark::State& state, void (*setUp)(), const char* title) {
    setUp();
    for (int i = 0; i < WarmupFrames(setUp); ++i)
        for (RenderPath path : {RenderPath::Classic, RenderPath::Fast}) {
            quorbel::RequestRenderPath(path);
            engine->RenderFrames(1);
        }
    SideBySide totals;
    for (auto _ : state) {
        TimedFrame(RenderPath::Classic, totals.classic);
        TimedFrame(RenderPath::Fast, totals.fast);
    }
    quorbel::RequestRenderPath(RenderPath::Fast);
    state.counters["classic_fps"] = totals.classic.Fps();
    state.counters["fast_fps"] = totals.fast.Fps();
    state.counters["fps_ratio"] = totals.fast.Fps() / totals.classic.Fps();
    state.counters["cpu_ratio"] = totals.classic.ProcessMs() / totals.fast.ProcessMs();
    sideBySide[title] = totals;
}

void PrintSideBySide() {
    for (const auto& [title, totals] : sideBySide) {
        std::printf("\n%s, both paths in turn (%ld frames each):\n", title.c_str(), totals.fast.frames);
        for (const auto& [name, path] : {std::pair{"classic", &totals.classic}, std::pair{"fast", &totals.fast}})
            std::printf("  %-8s %8.2f fps  %9.2f ms a frame  %9.2f ms processor time a frame\n", name, path->Fps(),
                        1000.0 / path->Fps(), path->ProcessMs());
        std::printf("  fast / classic: %.2f x the frames per second, %.2f x less processor time\n",
                    totals.fast.Fps() / totals.classic.Fps(), totals.classic.ProcessMs() / totals.fast.ProcessMs());
    }
}

// ----- the command line -----------------------------------------------------------------

// The heavy scene as the command line's --set options: every field the
// scene's set-up changes from a fresh scene.
std::vector<std::string> HeavySceneArguments() {
    quorbel::bench::FreshScene(*engine, "bench_scene");
    const quorbel::SceneState fresh = scene;
    HeavyScene();
    std::vector<std::string> arguments;
    for (const quorbel::FieldInfo& field : quorbel::SceneFieldTable()) {
        const auto value = quorbel::GetSceneField(scene, field.name);
        if (value == quorbel::GetSceneField(fresh, field.name)) continue;
        arguments.insert(arguments.end(), {"--set", std::string(field.name) + "=" + *value});
    }
    return arguments;
}

// A folder that links the program's pictures and holds no settings file,
// so the program starts from the same built-in values as the rows above.
std::string MakeCommandLineFolder() {
    std::string folder = (std::filesystem::temp_directory_path() / "bench_scene_cli.XXXXXX").string();
    if (!mkdtemp(folder.data())) return {};
    for (const char* name : {"Data", "gfx"})
        std::filesystem::create_directory_symlink(std::filesystem::current_path() / name, folder + "/" + name);
    return folder;
}

// Wall-clock and processor seconds (the program's, all its threads) of one
// run of the program itself, in `folder`, its messages dropped.
std::pair<double, double> CommandLineSeconds(std::vector<std::string> arguments, const std::string& folder, int frames) {
    arguments.insert(arguments.begin(), {QUORBEL_BINARY, "--snapshot", "last.png", "--seed", "1", "--frames",
                                         std::to_string(frames)});
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    int status = -1;
    rusage usage{};
    if (posix_spawn(&child, QUORBEL_BINARY, &actions, nullptr, argv.data(), environ) == 0)
        wait4(child, &status, 0, &usage);
    const double wall = Since(start);
    posix_spawn_file_actions_destroy(&actions);
    if (status != 0) std::fprintf(stderr, "bench_scene: %s failed\n", QUORBEL_BINARY);
    return {wall, usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + 1e-6 * (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec)};
}

// `quorbel --snapshot FILE --frames N --set ...`, the program itself, start-up
// included: the time per frame is the difference between a run of the
// warm-up frames and one of warm-up and timed frames, so start-up and the
// snapshot cancel out.
void RunCommandLine(benchmark::State& state) {
    const std::vector<std::string> arguments = HeavySceneArguments();
    const std::string folder = MakeCommandLineFolder();
    const int timed = static_cast<int>(state.range(0));
    double perFrame = 0, processPerFrame = 0;
    for (auto _ : state) {
        const auto warmupOnly = CommandLineSeconds(arguments, folder, kHeavyWarmupFrames);
        const auto withTimed = CommandLineSeconds(arguments, folder, kHeavyWarmupFrames + timed);
        perFrame = (withTimed.first - warmupOnly.first) / timed;
        processPerFrame = (withTimed.second - warmupOnly.second) / timed;
        state.SetIterationTime(perFrame);
    }
    if (!folder.empty()) std::filesystem::remove_all(folder);
    state.counters["fps"] = 1.0 / perFrame;
    state.counters["cpu_ms/frame"] = 1000.0 * processPerFrame;
}

// ----- time per routine ----------------------------------------------------------------

struct Profile {
    std::map<std::string, std::pair<double, double>> seconds;  // by routine: wall, processor; over all frames
    std::vector<std::string> order;                            // first-seen order, for printing
    std::string current;
    Clock::time_point since;
    double processSince = 0;
    long frames = 0;

    void Charge() {
        if (!seconds.count(current)) order.push_back(current);
        const double process = ProcessSeconds();
        seconds[current].first += Since(since);
        seconds[current].second += process - processSince;
        since = Clock::now();
        processSince = process;
    }
};

// Everything between one reported routine and the next is charged to the
// first: the routine itself and the GL state changes that follow it.
void ChargeRoutine(void* context, const char* routine, bool) {
    auto* profile = static_cast<Profile*>(context);
    glFinish();
    profile->Charge();
    profile->current = routine;
}

// The last run of each profile (the library runs a benchmark several times
// while it settles the iteration count); printed once at the end.
std::vector<std::pair<std::string, Profile>> profiles;

void RunProfile(benchmark::State& state, void (*setUp)(), RenderPath path, const char* scene) {
    StartScene(setUp, path);
    Profile profile;
    quorbel::SetFrameTraceHook(ChargeRoutine, &profile);
    for (auto _ : state) {
        profile.current = "frame start (clear)";
        profile.since = Clock::now();
        profile.processSince = ProcessSeconds();
        engine->RenderFrames(1);
        profile.Charge();
        ++profile.frames;
    }
    quorbel::SetFrameTraceHook(nullptr, nullptr);
    const std::string title = std::string(scene) + ", " + PathName(path) + " path";
    std::erase_if(profiles, [&](const auto& entry) { return entry.first == title; });
    profiles.emplace_back(title, std::move(profile));
}

void PrintProfiles() {
    for (auto& [title, profile] : profiles) {
        if (profile.frames == 0) continue;
        double wall = 0, process = 0;
        for (const auto& entry : profile.seconds) {
            wall += entry.second.first;
            process += entry.second.second;
        }
        std::printf("\n%s: %.2f ms a frame with a wait after every routine, %.2f ms processor time (%ld frames)\n",
                    title.c_str(), 1000.0 * wall / profile.frames, 1000.0 * process / profile.frames, profile.frames);
        std::printf("  %-28s %9s  %6s  %9s\n", "routine", "wall ms", "share", "cpu ms");
        for (const std::string& name : profile.order) {
            const auto [routineWall, routineProcess] = profile.seconds[name];
            std::printf("  %-28s %9.3f  %5.1f%%  %9.3f\n", name.c_str(), 1000.0 * routineWall / profile.frames,
                        100.0 * routineWall / wall, 1000.0 * routineProcess / profile.frames);
        }
    }
}

// ----- single routines, outside the frame --------------------------------------------------

RenderPath PathArg(const benchmark::State& state, int index) { return state.range(index) ? RenderPath::Fast : RenderPath::Classic; }

// The radial overlay alone: `layers` full-view layers over the captured picture.
void BM_RadialLayers(benchmark::State& state) {
    const RenderPath path = PathArg(state, 1);
    quorbel::RequestRenderPath(path);
    HeavyScene();
    engine->RenderFrames(1);
    glBindTexture(GL_TEXTURE_2D, 0);  // the frame's last capture; the text pass left its own texture bound
    const int layers = static_cast<int>(state.range(0));
    for (auto _ : state) {
        quorbel::DrawRadialLayers(layers, 0.02f);
        glFinish();
    }
    state.SetLabel(PathName(path));
    state.counters["layers/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * layers, benchmark::Counter::kIsRate);
}

// One draw-and-step pass of `count` particles, additive as in the scene.
void BM_ParticlePass(benchmark::State& state) {
    const RenderPath path = PathArg(state, 1);
    quorbel::RequestRenderPath(path);
    HeavyScene();
    scene.particleCount = static_cast<std::int32_t>(state.range(0));
    engine->RenderFrames(kHeavyWarmupFrames);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    for (auto _ : state) {
        quorbel::DrawParticleSystem(quorbel::TheParticleEngine(), quorbel::TheParticleSystem());
        glFinish();
    }
    state.SetLabel(PathName(path));
    state.counters["particles/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * state.range(0), benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(RunSideBySide, default_scene, DefaultScene, "default scene")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(RunSideBySide, heavy_scene, HeavyScene, "heavy scene")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(12);
BENCHMARK_CAPTURE(RunFrames, default_classic, DefaultScene, RenderPath::Classic)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK_CAPTURE(RunFrames, default_fast, DefaultScene, RenderPath::Fast)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK_CAPTURE(RunFrames, heavy_classic, HeavyScene, RenderPath::Classic)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK_CAPTURE(RunFrames, heavy_fast, HeavyScene, RenderPath::Fast)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(24);
BENCHMARK_CAPTURE(RunProfile, default_classic, DefaultScene, RenderPath::Classic, "default scene")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK_CAPTURE(RunProfile, default_fast, DefaultScene, RenderPath::Fast, "default scene")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK_CAPTURE(RunProfile, heavy_classic, HeavyScene, RenderPath::Classic, "heavy scene")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK_CAPTURE(RunProfile, heavy_fast, HeavyScene, RenderPath::Fast, "heavy scene")
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(24);
BENCHMARK(BM_RadialLayers)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->ArgsProduct({{25, 125}, {0, 1}})->MinTime(1.0);
BENCHMARK(BM_ParticlePass)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->ArgsProduct({{2000, 30000}, {0, 1}})->MinTime(1.0);
BENCHMARK(RunCommandLine)->Name("RunCommandLine/heavy_fast")->Arg(24)
    ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    quorbel::KeepResidentMemorySteady();  // as the program starts
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    quorbel::bench::EnterDataFolder();
    std::string error;
    std::unique_ptr<quorbel::HeadlessEngine> owner = quorbel::HeadlessEngine::Create(kWidth, kHeight, error);
    if (!owner) {
        std::fprintf(stderr, "bench_scene: no usable OpenGL: %s\n", error.c_str());
        return 1;
    }
    engine = owner.get();
    benchmark::RunSpecifiedBenchmarks();
    PrintSideBySide();
    PrintProfiles();
    benchmark::Shutdown();
    return 0;
}
