// Titles in several scripts: what building a new 40-character title costs
// (layout, shaping and tessellating its glyphs, from an empty glyph cache),
// the memory its glyphs take, and a frame of the default scene with that
// title beside one with the default title. For scale, the whole Windows-1252
// character set built at once is what one font change cost when every 8-bit
// code had its display list.
//
// GL memory: the renderer keeps display lists in the process heap, so the
// heap's growth over one build (after the freed memory is handed back) is
// what the title's glyphs hold.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <GL/gl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/headless/headless_engine.h"
#include "bench/scenes.h"
#include "effects/glyph_cache.h"
#include "effects/text.h"
#include "scene/title_text.h"
#include "effects/text_layout.h"
#include "scene/title_text.h"
#include "platform/steady_memory.h"
#include "scene/scene_state.h"
#include "scene/view_init.h"

namespace {

using quorbel::scene;

constexpr std::size_t kTitleCharacters = 40;

struct ScriptTitle {
    const char* name;
    const char* text;
};

const ScriptTitle kTitles[] = {
    {"latin", "The quick brown fox jumps over a lazy dog, again and again"},
    {"cyrillic", "\u0421\u044a\u0435\u0448\u044c \u0436\u0435 \u0435\u0449\u0451 \u044d\u0442\u0438\u0445 "
                 "\u043c\u044f\u0433\u043a\u0438\u0445 \u0444\u0440\u0430\u043d\u0446\u0443\u0437\u0441\u043a"
                 "\u0438\u0445 \u0431\u0443\u043b\u043e\u043a \u0434\u0430 \u0432\u044b\u043f\u0435\u0439"},
    {"arabic", "\u0645\u0631\u062d\u0628\u0627 \u0628\u0643\u0645 \u0641\u064a \u0639\u0631\u0636 \u0627\u0644"
               "\u0639\u0646\u0627\u0648\u064a\u0646 \u062b\u0644\u0627\u062b\u064a\u0629 \u0627\u0644\u0623"
               "\u0628\u0639\u0627\u062f \u0627\u0644\u062c\u0645\u064a\u0644\u0629"},
    {"devanagari", "\u0928\u092e\u0938\u094d\u0924\u0947 \u0926\u0941\u0928\u093f\u092f\u093e \u092f\u0939 "
                   "\u090f\u0915 \u0924\u094d\u0930\u093f\u0906\u092f\u093e\u092e\u0940 \u0936\u0940\u0930"
                   "\u094d\u0937\u0915 \u0939\u0948 \u0914\u0930 \u0938\u0941\u0902\u0926\u0930"},
    {"cjk", "\u6211\u4eec\u5728\u4e1c\u4eac\u548c\u5317\u4eac\u4e4b\u95f4\u65c5\u884c\u3002\u4eca\u5929\u7684"
            "\u5929\u6c14\u5f88\u597d\uff0c\u6211\u4eec\u53bb\u770b\u4e86\u7535\u5f71\u548c\u4e09\u7ef4\u7684"
            "\u6807\u9898\u52a8\u753b\u5236\u4f5c\u8fc7\u7a0b\u3002\u5f88\u6709\u610f\u601d"},
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) return out.push_back(static_cast<char>(c));
    if (c < 0x800) {
        out += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
        out += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                static_cast<char>(0x80 | (c & 0x3F))};
    } else {
        out += {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
}

std::string FirstCharacters(const char* text, std::size_t count) {
    std::string out;
    for (char32_t c : quorbel::DecodeTitle(text, count)) AppendUtf8(out, c);
    return out;
}

// The printable Windows-1252 characters, the old build's whole set.
std::string EightBitCharacterSet() {
    std::string bytes;
    for (int code = 0x20; code < 0x100; ++code) bytes += static_cast<char>(code);
    return quorbel::Windows1252ToUtf8(bytes);  // the codes it leaves undefined are controls, dropped on the way in
}

quorbel::HeadlessEngine* Engine() { return quorbel::bench::SharedViewEngine(); }

double HeapInUseKb() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / 1024.0;
}

// Each build starts from an empty cache, as after a font change, and builds
// the title's glyphs at the default depth, solid.
void BuildTitle(benchmark::State& state, const std::string& title) {
    if (!Engine()) return state.SkipWithError("no usable OpenGL");
    scene.textOutlinesBuilt = 2, scene.textDepth = 2.0f, scene.textWireframe = 1;
    scene.titleText.Assign(title);
    quorbel::DeleteTextFont(), quorbel::ReturnFreedMemory();
    const double heapBefore = HeapInUseKb();
    const std::size_t builtBefore = quorbel::GlyphCache::BuiltEver();
    quorbel::BuildTextFont(), glFinish();
    state.counters["glyphs"] = static_cast<double>(quorbel::GlyphCache::BuiltEver() - builtBefore);
    state.counters["heap_KB"] = HeapInUseKb() - heapBefore;
    for (auto _ : state) quorbel::BuildTextFont(), glFinish();
}

// A frame of the default scene with the title; "default" keeps its own.
void FrameWithTitle(benchmark::State& state, const std::string* title) {
    if (!Engine()) return state.SkipWithError("no usable OpenGL");
    quorbel::bench::DefaultScene(*Engine(), "bench_title_scripts");
    if (title) scene.titleText.Assign(*title);
    Engine()->RenderFrames(30);
    for (auto _ : state) Engine()->RenderFrames(1);
}

void RegisterAll() {
    static const std::string eightBit = EightBitCharacterSet();
    benchmark::RegisterBenchmark("BuildTitle/windows1252_all", BuildTitle, eightBit)->Unit(benchmark::kMillisecond);
    static std::string titles[std::size(kTitles)];
    for (std::size_t i = 0; i < std::size(kTitles); ++i) {
        titles[i] = FirstCharacters(kTitles[i].text, kTitleCharacters);
        benchmark::RegisterBenchmark((std::string("BuildTitle/") + kTitles[i].name).c_str(), BuildTitle, titles[i])
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("Frame/default", FrameWithTitle, nullptr)->Unit(benchmark::kMillisecond);
    for (std::size_t i = 0; i < std::size(kTitles); ++i)
        benchmark::RegisterBenchmark((std::string("Frame/") + kTitles[i].name).c_str(), FrameWithTitle, &titles[i])
            ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
    if (!quorbel::bench::EnterDataFolder()) {
        std::fprintf(stderr, "bench_title_scripts: Data/ and gfx/ not found; run it from the repository folder\n");
        return 2;
    }
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
