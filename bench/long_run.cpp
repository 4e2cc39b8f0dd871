// The whole scene for a long time, to show that nothing piles up: by default
// 100,000 frames headless on a small surface, every effect shown, and the
// scene changed as a user changes it while it runs (the title's style,
// texture, colour and words in several scripts, the blurs switched, the
// glyphs and the tunnel rebuilt now and then). At intervals it prints
// resident memory and the live GL textures and display lists; at the end it
// says whether memory stayed within 2 MB after the warm-up and the GL
// object counts constant,
// and exits 1 when not. A check to run by hand, not a timed test:
//
//   nice build/bench/long_run [--frames N] [--size WxH] [--every N]
#include <GL/gl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/headless/headless_engine.h"
#include "bench/scenes.h"
#include "effects/text.h"
#include "imaging/textures.h"
#include "support/scripted_platform.h"
#include "platform/steady_memory.h"
#include "scene/gl_setup.h"
#include "scene/number_text.h"
#include "scene/scene_state.h"

namespace {

using quorbel::scene;
using Clock = std::chrono::steady_clock;

constexpr double kFlatMegabytes = 2.0;
constexpr long kChangeEvery = 250;      // frames between two changes of the scene
constexpr long kRebuildEvery = 10000;   // frames between two glyph rebuilds
constexpr std::uint64_t kFrameMs = 33;  // the scripted clock's step: 30 frames a second
constexpr GLuint kLeastNamesAsked = 4096;

struct Options {
    long frames = 100000;
    long every = 5000;
    long warmup = 10000;
    int width = 160;
    int height = 120;
};

struct Sample {
    long frame = 0;
    double residentMb = 0;
    double heapMb = 0;  // malloc's blocks in use: ours and the libraries' in-process data
    int textures = 0;
    int lists = 0;
};

// ----- command line -----------------------------------------------------------

std::optional<long> Whole(const std::string& text, long low, long high) {
    auto parsed = quorbel::ParseWholeNumber(text, low, high);
    if (!parsed.ok()) return std::nullopt;
    return static_cast<long>(parsed.value);
}

bool ParseSize(const std::string& text, Options& options) {
    const auto x = text.find('x');
    if (x == std::string::npos) return false;
    auto width = Whole(text.substr(0, x), 16, 4096), height = Whole(text.substr(x + 1), 16, 4096);
    if (!width || !height) return false;
    options.width = static_cast<int>(*width);
    options.height = static_cast<int>(*height);
    return true;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i], value = argv[i + 1];
        std::optional<long> number;
        if (name == "--frames" && (number = Whole(value, 1, 100000000))) {
            options.frames = *number;
        } else if (name == "--every" && (number = Whole(value, 1, 100000000))) {
            options.every = *number;
        } else if (name != "--size" || !ParseSize(value, options)) {
            return std::nullopt;
        }
    }
    if (argc % 2 == 0) return std::nullopt;
    options.warmup = std::min(options.warmup, options.frames / 2);
    return options;
}

// ----- what is measured ---------------------------------------------------------

double ResidentMegabytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// GL can say whether a name is a live object but not how many there are:
// every name up to a bound is asked about. The bound follows the name the GL
// would hand out next, with room to spare, whether it reuses names or not.
template <typename IsName>
int CountLive(IsName isName, GLuint next) {
    const GLuint bound = std::max(kLeastNamesAsked, 2 * next + 64);
    int live = 0;
    for (GLuint name = 1; name < bound; ++name) live += isName(name) ? 1 : 0;
    return live;
}

// What malloc has handed out and not had back, whatever the pages show.
double HeapInUseMegabytes() {
#if defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
#else
    return 0.0;
#endif
}

GLuint NextTextureName() {
    GLuint name = 0;
    glGenTextures(1, &name);
    glDeleteTextures(1, &name);
    return name;
}

GLuint NextListName() {
    const GLuint name = glGenLists(1);
    if (name != 0) glDeleteLists(name, 1);
    return name;
}

Sample Measure(long frame) {
    return {frame, ResidentMegabytes(), HeapInUseMegabytes(), CountLive([](GLuint n) { return glIsTexture(n) == GL_TRUE; }, NextTextureName()),
            CountLive([](GLuint n) { return glIsList(n) == GL_TRUE; }, NextListName())};
}

// ----- the scene and what a user does to it ---------------------------------------------

void ShowEverything() {
    scene.startupStage = 2;  // no settings file: the frames themselves
    scene.particlesShown = 2;
    scene.tunnelShown = 2;
    scene.tunnelRebuildPending = 2;
    scene.starsHidden = 0;
    scene.starsToggleCount = 1;
    scene.tilesShown = 2;
    scene.fireShown = 2;
    scene.blurActive = 2;
    scene.radialText = scene.radialParticles = scene.radialStar = 2;
    scene.motionText = scene.motionTiles = scene.motionStar = scene.motionParticles = 2;
    scene.blurDensity = 25.0f;
    scene.blurFadeAlpha = 100.0f;
    scene.blurLayerRed = scene.blurLayerGreen = scene.blurLayerBlue = 1.0f;
    scene.textSpinY = 2;
    scene.textSpinSpeedY = 3;
}

void NextTextStyle(long step, quorbel::ScriptedPlatform& platform) {
    const std::uint32_t colour = static_cast<std::uint32_t>(step * 0x0a1b2c) & 0xFFFFFFu;
    platform.colourAnswers.push_back(colour);  // the two colour styles ask for one
    switch (step % 5) {
        case 0: quorbel::ApplyChromeStyle(); break;
        case 1: quorbel::ApplyGlassStyle(); break;
        case 2: quorbel::ApplyTexturedStyle(); break;
        case 3: quorbel::ApplySingleColourStyle(); break;
        default: quorbel::ApplyChangeColourStyle(); break;
    }
    platform.colourAnswers.clear();
}

void SwitchBlurs(long step) {
    scene.radialBlurOn = step % 4 == 1 || step % 4 == 3 ? 2 : 0;
    scene.motionBlurOn = step % 4 >= 2 ? 2 : 0;
}

// Titles in several scripts and lines: each new one builds only the glyphs
// the cache has not seen since the last rebuild.
const char* const kTitles[] = {"Quorbel", "\u041c\u043e\u0441\u043a\u0432\u0430", "\u0645\u0631\u062d\u0628\u0627",
                               "\u0928\u092e\u0938\u094d\u0924\u0947", "\u6771\u4eac\nTokyo",
                               "Caf\u00e9 \u05d0\u05d1\u05d2"};

void ChangeScene(long frame, quorbel::ScriptedPlatform& platform) {
    if (frame % kChangeEvery != 0) return;
    const long step = frame / kChangeEvery;
    NextTextStyle(step, platform);
    quorbel::LoadTextTexture(step % 2 ? "Data/plasma.bmp" : "Data/Reflectings.bmp");
    scene.textColour = static_cast<std::uint32_t>(step * 0x102030) & 0xFFFFFFu;
    scene.titleText.Assign(step % 3 ? kTitles[step % std::size(kTitles)] : "Long run " + std::to_string(step));
    SwitchBlurs(step);
    scene.tunnelRebuildPending = 2;
    if (frame % kRebuildEvery == 0) {
        scene.textDepth = static_cast<float>(1 + step % 7);
        quorbel::BuildTextFont();
    }
}

// ----- the run -----------------------------------------------------------------


void PrintSample(const Sample& sample, double seconds, long framesSince) {
    std::printf("%9ld  %8.1f s  %7.1f fps  %9.2f MB  %9.2f MB  %5d textures  %5d lists\n", sample.frame, seconds,
                seconds > 0 ? static_cast<double>(framesSince) / seconds : 0.0, sample.residentMb, sample.heapMb,
                sample.textures, sample.lists);
    std::fflush(stdout);
}

// Compares every sample from the warm-up on; true when all is flat.
bool Summarise(const std::vector<Sample>& samples, long warmup, std::size_t messages) {
    auto first = std::find_if(samples.begin(), samples.end(), [&](const Sample& s) { return s.frame >= warmup; });
    if (first == samples.end()) return false;
    auto [low, high] = std::minmax_element(first, samples.end(),
                                           [](const Sample& a, const Sample& b) { return a.residentMb < b.residentMb; });
    const double spread = high->residentMb - low->residentMb;
    const bool texturesConstant = std::all_of(first, samples.end(), [&](const Sample& s) { return s.textures == first->textures; });
    const bool listsConstant = std::all_of(first, samples.end(), [&](const Sample& s) { return s.lists == first->lists; });
    std::printf("\nafter the warm-up (frame %ld on): resident memory %.2f to %.2f MB, spread %.2f MB (%s %.0f MB);"
                " last sample %+.2f MB from the first\n",
                first->frame, low->residentMb, high->residentMb, spread, spread <= kFlatMegabytes ? "within" : "OVER",
                kFlatMegabytes, samples.back().residentMb - first->residentMb);
    const auto [heapLow, heapHigh] = std::minmax_element(
        first, samples.end(), [](const Sample& a, const Sample& b) { return a.heapMb < b.heapMb; });
    std::printf("heap in use %.2f to %.2f MB; the rest of resident memory is the renderer's code and caches\n",
                heapLow->heapMb, heapHigh->heapMb);
    std::printf("GL textures %s, display lists %s; %zu messages shown\n", texturesConstant ? "constant" : "CHANGING",
                listsConstant ? "constant" : "CHANGING", messages);
    return spread <= kFlatMegabytes && texturesConstant && listsConstant;
}

int Run(const Options& options) {
    std::string error;
    auto engine = quorbel::HeadlessEngine::Create(options.width, options.height, error);
    if (!engine) {
        std::fprintf(stderr, "long_run: no usable OpenGL: %s\n", error.c_str());
        return 2;
    }
    quorbel::ScopedScriptedPlatform platform;
    quorbel::SetFixedRandomSeed(1);
    if (!engine->InitialiseScene()) std::fprintf(stderr, "long_run: a start-up picture could not be used\n");
    ShowEverything();
    std::printf("%ld frames at %dx%d, every effect shown, a change every %ld frames\n\n", options.frames,
                options.width, options.height, kChangeEvery);
    std::printf("    frame  interval        rate     resident  heap in use  GL objects\n");
    std::vector<Sample> samples{Measure(0)};
    PrintSample(samples.back(), 0, 0);
    auto since = Clock::now();
    for (long frame = 1; frame <= options.frames; ++frame) {
        ChangeScene(frame, platform.platform);
        platform->nowMs += kFrameMs;
        engine->RenderFrames(1);
        if (frame % options.every != 0 && frame != options.frames) continue;
        samples.push_back(Measure(frame));
        const auto now = Clock::now();
        PrintSample(samples.back(), std::chrono::duration<double>(now - since).count(),
                    frame - samples[samples.size() - 2].frame);
        since = now;
    }
    return Summarise(samples, options.warmup, platform->messages.size()) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    quorbel::KeepResidentMemorySteady();  // as the program does
    auto options = ParseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: long_run [--frames N] [--size WIDTHxHEIGHT] [--every N]\n");
        return 2;
    }
    if (!quorbel::bench::EnterDataFolder()) {
        std::fprintf(stderr, "long_run: Data/ and gfx/ not found; run it from the repository folder\n");
        return 2;
    }
    return Run(*options);
}
