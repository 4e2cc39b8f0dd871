// Which pixels the solid layers mark while a transparent recording renders,
// read back from the real stencil buffer; and that marking never changes a
// single colour of the frame.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "effects/text.h"
#include "scene/coverage.h"
#include "scene/frame_driver.h"
#include "scene/gl_setup.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"
#include "video/alpha_frames.h"

namespace quorbel {
namespace {

using Setup = std::function<void()>;

struct MarkedFrame {
    std::vector<std::uint8_t> bgra;
    std::vector<std::uint8_t> marks;
    int marked = 0;       // pixels a solid layer drew
    int lit = 0;          // pixels with any colour
    int litUnmarked = 0;  // glow pixels
};

// A fresh, seeded scene with `setup` applied, `frames` frames rendered.
MarkedFrame RenderScene(const Setup& setup, int frames, bool marking) {
    // The first generation of particles draws before the scene seeds the
    // generator: seed it here too, so both renders see the same sequence.
    std::srand(11);
    SetFixedRandomSeed(11);
    HeadlessEngine* engine = testing::FreshScene();
    MarkedFrame frame;
    if (!engine) return frame;
    scene.startupStage = 2;  // past the start-up: no settings file decides what shows
    setup();
    glClearStencil(0);
    glClear(GL_STENCIL_BUFFER_BIT);  // nothing left from an earlier case
    SetCoverageMarking(marking);
    for (int i = 0; i < frames; ++i) RenderFrame();
    const int width = engine->width(), height = engine->height();
    frame.bgra.resize(static_cast<std::size_t>(width) * height * 4);
    frame.marks.resize(static_cast<std::size_t>(width) * height);
    glReadBuffer(GL_BACK);
    ReadFrameWithAlpha(frame.bgra.data(), frame.marks.data(), width, height);
    SetCoverageMarking(false);
    for (std::size_t i = 0; i < frame.marks.size(); ++i) {
        const bool lit = frame.bgra[i * 4 + 3] > 0;
        frame.marked += frame.marks[i] != 0;
        frame.lit += lit;
        frame.litUnmarked += lit && !frame.marks[i];
    }
    return frame;
}

// Straight alpha over black: the colour the plain render had.
std::vector<std::uint8_t> OverBlack(const MarkedFrame& frame) {
    std::vector<std::uint8_t> bgr;
    for (std::size_t i = 0; i < frame.marks.size(); ++i)
        for (int c = 0; c < 3; ++c)
            bgr.push_back(static_cast<std::uint8_t>((frame.bgra[i * 4 + c] * frame.bgra[i * 4 + 3] + 127) / 255));
    return bgr;
}

struct Case {
    const char* name;
    Setup setup;
    double markedAtLeast, markedAtMost;  // fraction of the view
    bool glows;                         // lit pixels outside the marks
};

TEST(AlphaRender, SolidLayersAreMarkedGlowsAreNotAndColoursDoNotChange) {
    const int pixels = 720 * 480;
    const Case cases[] = {
        {"title alone", [] {}, 0.01, 0.5, false},
        {"particles and fire without the title",
         [] {
             scene.textHidden = 2;
             scene.particlesShown = 2;
             scene.fireShown = 2;
         },
         0.0, 0.0, true},
        {"glass title", [] { ApplyGlassStyle(); }, 0.0, 0.0, true},
        {"tunnel fills the view",
         [] {
             scene.tunnelShown = 2;
             scene.tunnelRebuildPending = 2;
         },
         0.9, 1.0, false},
        {"tiles fill the view", [] { scene.tilesShown = 2; }, 0.9, 1.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MarkedFrame marked = RenderScene(c.setup, 6, true);
        const MarkedFrame plain = RenderScene(c.setup, 6, false);
        ASSERT_FALSE(marked.bgra.empty());
        EXPECT_GE(marked.marked, c.markedAtLeast * pixels);
        EXPECT_LE(marked.marked, c.markedAtMost * pixels);
        EXPECT_EQ(plain.marked, 0) << "nothing is marked unless a transparent recording asks";
        if (c.glows) {
            EXPECT_GT(marked.litUnmarked, 100);
        }
        EXPECT_GT(marked.lit, 100) << "the scene drew something";
        // The same colours with and without marking, and over black the
        // transparent frame is the plain one.
        const auto a = OverBlack(marked), b = OverBlack(plain);
        int worst = 0;
        for (std::size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
        EXPECT_LE(worst, 1);
    }
}

}  // namespace
}  // namespace quorbel
