// Frames per second of the headless engine at 720 x 480, for the default
// scene and for a heavy one (30000 particles, tunnel, stars, tiles, fire and
// the radial blur on text and particles at its highest density), and the
// time each effect routine of the frame takes.
//
// The per-routine profile waits for the GPU (glFinish) at every routine the
// frame reports, so its frames are slower than the plain runs; it shows the
// share of each layer, the plain runs show the real rate.
#include <benchmark/benchmark.h>

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
#include "effects/blur.h"
#include "effects/particles.h"
#include "scene/frame_trace.h"
#include "scene/scene_state.h"

namespace {

using Clock = std::chrono::steady_clock;
using quorbel::scene;

constexpr int kWidth = 720;
constexpr int kHeight = 480;
// Frames rendered before measuring, so the particles and the fire have spread.
constexpr int kWarmupFrames = 30;
constexpr int kHeavyWarmupFrames = 10;

quorbel::HeadlessEngine* engine = nullptr;

// The program reads Data/ and gfx/ from the current folder: use the current
// one when it has them, else the source tree above the build folder.
void EnterDataFolder() {
    namespace fs = std::filesystem;
    if (fs::exists("Data/Fire.bmp")) return;
    std::error_code error;
    fs::path folder = fs::canonical("/proc/self/exe", error).parent_path();
    for (int up = 0; up < 4 && !folder.empty(); ++up, folder = folder.parent_path()) {
        if (fs::exists(folder / "Data" / "Fire.bmp")) {
            fs::current_path(folder, error);
            return;
        }
    }
}

void FreshScene() {
    scene = quorbel::SceneState{};
    if (!engine->InitialiseScene()) std::fprintf(stderr, "bench_scene: a start-up texture is missing\n");
    scene.startupStage = 2;  // no settings file: only the frame itself
}

void DefaultScene() {
    FreshScene();
    scene.particlesShown = 2;  // what the program shows after start-up, plus the particles
}

void HeavyScene() {
    FreshScene();
    scene.particleCount = 30000;
    scene.particlesShown = 2;
    scene.particleSpeed = 85.0f;
    scene.tunnelShown = 2;
    scene.tunnelRebuildPending = 2;
    scene.starsHidden = 0;
    scene.starsToggleCount = 1;
    scene.tilesShown = 2;
    scene.fireShown = 2;
    scene.radialBlurOn = 2;
    scene.blurActive = 2;
    scene.radialText = 2;
    scene.radialParticles = 2;
    scene.blurDensity = 100.0f;  // 125 layers
    scene.blurFadeAlpha = 100.0f;
    scene.blurLayerRed = scene.blurLayerGreen = scene.blurLayerBlue = 1.0f;
}

int WarmupFrames(void (*setUp)()) { return setUp == HeavyScene ? kHeavyWarmupFrames : kWarmupFrames; }

void RunFrames(benchmark::State& state, void (*setUp)()) {
    setUp();
    engine->RenderFrames(WarmupFrames(setUp));
    for (auto _ : state) engine->RenderFrames(1);  // each frame ends with glFinish
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_DefaultScene(benchmark::State& state) { RunFrames(state, DefaultScene); }
void BM_HeavyScene(benchmark::State& state) { RunFrames(state, HeavyScene); }

// ----- time per routine ----------------------------------------------------------------

struct Profile {
    std::map<std::string, double> seconds;  // by routine, over all frames
    std::vector<std::string> order;         // first-seen order, for printing
    std::string current;
    Clock::time_point since;
    long frames = 0;

    void Charge(Clock::time_point now) {
        if (!seconds.count(current)) order.push_back(current);
        seconds[current] += std::chrono::duration<double>(now - since).count();
        since = now;
    }
};

// Everything between one reported routine and the next is charged to the
// first: the routine itself and the GL state changes that follow it.
void ChargeRoutine(void* context, const char* routine, bool) {
    auto* profile = static_cast<Profile*>(context);
    glFinish();
    profile->Charge(Clock::now());
    profile->current = routine;
}

// The last run of each profile (the library runs a benchmark several times
// while it settles the iteration count); printed once at the end.
std::vector<std::pair<std::string, Profile>> profiles;

void RunProfile(benchmark::State& state, void (*setUp)(), const char* title) {
    setUp();
    engine->RenderFrames(WarmupFrames(setUp));
    Profile profile;
    quorbel::SetFrameTraceHook(ChargeRoutine, &profile);
    for (auto _ : state) {
        profile.current = "frame start (clear)";
        profile.since = Clock::now();
        engine->RenderFrames(1);
        profile.Charge(Clock::now());
        ++profile.frames;
    }
    quorbel::SetFrameTraceHook(nullptr, nullptr);
    std::erase_if(profiles, [&](const auto& entry) { return entry.first == title; });
    profiles.emplace_back(title, std::move(profile));
}

void PrintProfiles() {
    for (auto& [title, profile] : profiles) {
        if (profile.frames == 0) continue;
        double total = 0;
        for (const auto& entry : profile.seconds) total += entry.second;
        std::printf("\n%s: %.2f ms per frame with a wait after every routine (%ld frames)\n", title.c_str(),
                    1000.0 * total / profile.frames, profile.frames);
        for (const std::string& name : profile.order) {
            const double seconds = profile.seconds[name];
            std::printf("  %-28s %9.3f ms  %5.1f %%\n", name.c_str(), 1000.0 * seconds / profile.frames,
                        100.0 * seconds / total);
        }
    }
}

void BM_DefaultSceneByRoutine(benchmark::State& state) { RunProfile(state, DefaultScene, "default scene"); }
void BM_HeavySceneByRoutine(benchmark::State& state) { RunProfile(state, HeavyScene, "heavy scene"); }

// ----- single routines, outside the frame --------------------------------------------------

// The radial overlay alone: `layers` full-view quads over the captured picture.
void BM_RadialLayers(benchmark::State& state) {
    HeavyScene();
    engine->RenderFrames(1);
    const int layers = static_cast<int>(state.range(0));
    for (auto _ : state) {
        quorbel::DrawRadialLayers(layers, 0.02f);
        glFinish();
    }
    state.counters["layers/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * layers, benchmark::Counter::kIsRate);
}

// One draw-and-step pass of `count` particles, additive as in the scene.
void BM_ParticlePass(benchmark::State& state) {
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
    state.counters["particles/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * state.range(0), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_DefaultScene)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_HeavyScene)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(12);
BENCHMARK(BM_DefaultSceneByRoutine)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_HeavySceneByRoutine)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(12);
BENCHMARK(BM_RadialLayers)->Unit(benchmark::kMillisecond)->UseRealTime()->Arg(25)->Arg(125)->MinTime(1.0);
BENCHMARK(BM_ParticlePass)->Unit(benchmark::kMillisecond)->UseRealTime()->Arg(2000)->Arg(30000)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    EnterDataFolder();
    std::string error;
    std::unique_ptr<quorbel::HeadlessEngine> owner = quorbel::HeadlessEngine::Create(kWidth, kHeight, error);
    if (!owner) {
        std::fprintf(stderr, "bench_scene: no usable OpenGL: %s\n", error.c_str());
        return 1;
    }
    engine = owner.get();
    benchmark::RunSpecifiedBenchmarks();
    PrintProfiles();
    benchmark::Shutdown();
    return 0;
}
