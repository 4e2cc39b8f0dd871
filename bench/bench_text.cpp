// The title text's costs: a font, depth or wireframe change (the glyphs
// start afresh and the current title's are built and compiled) and drawing
// a full-length title (every frame pays it, once per text pass).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/headless/headless_engine.h"
#include "bench/scenes.h"
#include "effects/text.h"
#include "scene/scene_state.h"
#include "scene/view_init.h"

namespace {

quorbel::HeadlessEngine* Engine() { return quorbel::bench::SharedViewEngine(); }

void BuildAllGlyphLists(benchmark::State& state, bool wireframe) {
    if (!Engine()) {
        state.SkipWithError("no usable OpenGL");
        return;
    }
    quorbel::scene.textOutlinesBuilt = 2;
    quorbel::scene.textDepth = 2.0f;
    quorbel::scene.textWireframe = wireframe ? 2 : 1;
    for (auto _ : state) {
        quorbel::BuildTextFont();
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * 255);
}

void BM_BuildGlyphListsSolid(benchmark::State& state) { BuildAllGlyphLists(state, false); }
void BM_BuildGlyphListsWireframe(benchmark::State& state) { BuildAllGlyphLists(state, true); }

// One text pass's drawing of a 255-character title, as the scene does it.
void BM_DrawLongTitle(benchmark::State& state) {
    if (!Engine()) {
        state.SkipWithError("no usable OpenGL");
        return;
    }
    quorbel::scene.textOutlinesBuilt = 2;
    quorbel::scene.textDepth = 2.0f;
    quorbel::scene.textWireframe = 1;
    quorbel::BuildTextFont();
    std::string title;
    for (int i = 0; i < 255; ++i) title.push_back(static_cast<char>('A' + i % 58));
    quorbel::scene.titleText.Assign(title);
    quorbel::scene.textPosZ = -60.0f;
    quorbel::scene.textWhiteRequest = 2;
    glEnable(GL_DEPTH_TEST);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        quorbel::DrawText(quorbel::TextPass::Main);
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * 255);
}

}  // namespace

BENCHMARK(BM_BuildGlyphListsSolid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildGlyphListsWireframe)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawLongTitle)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
