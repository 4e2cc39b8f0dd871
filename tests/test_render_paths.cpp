// The fast drawing path against the classic one: the same seeded frames
// drawn both ways look the same, rounding aside (at least 99.9 % of pixels
// within 2 levels, none more than 6), for the default and the heavy scene
// and each effect alone; and a driver without what the fast path needs
// draws with the classic path and says so.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "effects/particles.h"
#include "support/scripted_platform.h"
#include "scene/gl_setup.h"
#include "scene/render_path.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"
#include "support/heavy_scene.h"
#include "support/process.h"

namespace quorbel {
namespace {

using Frame = std::vector<std::uint8_t>;

constexpr unsigned kSeed = 11;
constexpr std::uint64_t kFrameMs = 40;

struct SceneCase {
    const char* name;
    std::function<void()> setUp;  // on a fresh scene with the text hidden
    int frames;
};

void HeavyScene() {
    scene.textHidden = 0;
    testing::MakeSceneHeavy();
}

// The radial blur alone, on the text only (hidden in the scene, still its
// source), with coloured layers spread apart.
void RadialBlurAlone() {
    scene.radialBlurOn = scene.blurActive = scene.radialText = 2;
    scene.blurDensity = 100.0f;
    scene.blurFadeAlpha = 100.0f;
    scene.blurSeparation = 7.0f;
    scene.blurLayerRed = 0.9f;
    scene.blurLayerGreen = 0.5f;
    scene.blurLayerBlue = 0.25f;
}

// What the single-colour text style leaves on for the rest of the run: the
// blur layers are then lit, which the summed overlay cannot reproduce.
void LightingLeftOn() {
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
}

const SceneCase kCases[] = {
    {"default scene",
     [] {
         scene.textHidden = 0;
         scene.particlesShown = 2;
     },
     20},
    {"heavy scene", HeavyScene, 8},
    {"tunnel",
     [] {
         scene.tunnelShown = scene.tunnelRebuildPending = 2;
         scene.tunnelCustomTex = 2;
         scene.tunnelTexture = scene.baseTextures[2];
         scene.tunnelColourOn = 2;  // untinted the tunnel is black
         scene.tunnelColour = 0x0080c0ff;
     },
     10},
    {"stars",
     [] {
         scene.starsHidden = 0;
         scene.starsToggleCount = 1;
     },
     10},
    {"tiles",
     [] {
         scene.tilesShown = 2;
         scene.clearRed = scene.clearGreen = scene.clearBlue = 0.4f;
     },
     10},
    {"text", [] { scene.textHidden = 0; }, 10},
    {"particles",
     [] {
         scene.particlesShown = 2;
         scene.particleCount = 30000;
         scene.particleSpeed = 85.0f;
     },
     12},
    {"fire", [] { scene.fireShown = 2; }, 20},
    {"radial blur", RadialBlurAlone, 10},
    {"motion blur",
     [] {
         scene.motionBlurOn = scene.blurActive = scene.motionText = 2;
         scene.blurBackRed = 40.0f;
     },
     10},
    {"tunnel and radial blur on particles",
     [] {
         scene.tunnelShown = scene.tunnelRebuildPending = 2;
         scene.particlesShown = 2;
         scene.particleSpeed = 85.0f;
         RadialBlurAlone();
         scene.radialParticles = 2;
     },
     10},
    {"radial blur over lit layers",
     [] {
         RadialBlurAlone();
         LightingLeftOn();
     },
     6},
};

void PrintTo(const SceneCase& sceneCase, std::ostream* out) { *out << sceneCase.name; }

class RenderPaths : public ::testing::TestWithParam<SceneCase> {
protected:
    void TearDown() override {
        glDisable(GL_LIGHTING);
        glDisable(GL_COLOR_MATERIAL);
        glDisable(GL_LIGHT0);
        RequestRenderPath(RenderPath::Fast);
    }

    // Every source of chance and time starts the same for both paths.
    Frame Render(RenderPath path) {
        RequestRenderPath(path);
        std::srand(kSeed);  // the first particle generation draws before the seeding
        SetFixedRandomSeed(kSeed);
        TheParticleEngine().angleCounter = 0;
        TheParticleEngine().colourIndex = 0;
        HeadlessEngine* engine = testing::FreshScene();
        if (!engine) return {};
        scene.startupStage = 2;
        scene.textHidden = 2;
        platform_->nowMs = 10000;
        GetParam().setUp();
        for (int i = 0; i < GetParam().frames; ++i) {
            platform_->nowMs += kFrameMs;
            engine->RenderFrames(1);
        }
        return engine->ReadPixels();
    }

    ScopedScriptedPlatform platform_;
};

TEST_P(RenderPaths, DrawTheSameFrames) {
    const Frame classic = Render(RenderPath::Classic);
    ASSERT_FALSE(classic.empty());
    const Frame fast = Render(RenderPath::Fast);
    if (!FastPathActive()) GTEST_SKIP() << "the driver lacks OpenGL 2.0, so both runs drew with the classic path";
    ASSERT_EQ(fast.size(), classic.size());
    EXPECT_GT(testing::CountLitPixels(classic), 500) << "the case draws something to compare";
    std::size_t pixels = classic.size() / 3, near = 0;
    int largest = 0;
    for (std::size_t p = 0; p < pixels; ++p) {
        int difference = 0;
        for (std::size_t c = 3 * p; c < 3 * p + 3; ++c) difference = std::max(difference, std::abs(classic[c] - fast[c]));
        largest = std::max(largest, difference);
        if (difference <= 2) ++near;
    }
    EXPECT_GE(static_cast<double>(near), 0.999 * static_cast<double>(pixels)) << near << " of " << pixels;
    EXPECT_LE(largest, 6);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(SeededFrames, RenderPaths, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SceneCase>& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

// ----- choosing the path ---------------------------------------------------------------

TEST(RenderPathChoice, NeedsOpenGl2AndSumsTheLayersOnLlvmpipeOnly) {
    struct Version { const char* text; bool fast; };
    for (const Version& v : {Version{"4.5 (Compatibility Profile) Mesa 22.3.6", true}, {"2.0", true},
                             {"10.1 vendor", true}, {"1.5 Mesa 22.3.6", false}, {"1.1", false}, {"", false},
                             {"OpenGL ES 3.2", false}, {"3", false}, {nullptr, false}})
        EXPECT_EQ(VersionOffersFastPath(v.text), v.fast) << (v.text ? v.text : "null");
    // Only llvmpipe's arithmetic is the one the sum reproduces.
    struct Renderer { const char* text; bool sums; };
    for (const Renderer& r : {Renderer{"llvmpipe (LLVM 15.0.6, 256 bits)", true}, {"softpipe", false},
                              {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false}, {"", false}, {nullptr, false}})
        EXPECT_EQ(RendererIsLlvmpipe(r.text), r.sums) << (r.text ? r.text : "null");
}

class PathOption : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::current_path(testing::SourceDir()); }
    testing::TempDirectory output_;
    const std::string arguments_ = " --seed 3 --frames 8 --set particlesShown=2 --snapshot ";
};

// Mesa can be told to offer less than it has; only Mesa listens.
TEST_F(PathOption, ADriverWithoutOpenGl2DrawsTheClassicPathAndSaysSo) {
    ASSERT_NE(testing::Engine(), nullptr);
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!version || !std::strstr(version, "Mesa")) GTEST_SKIP() << "needs Mesa to pretend to be OpenGL 1.4";
    const std::string old = output_.path() + "/old.png", classic = output_.path() + "/classic.png";
    const auto fallback =
        testing::RunCommand(std::string("MESA_GL_VERSION_OVERRIDE=1.4 '") + QUORBEL_BINARY + "'" + arguments_ + old);
    ASSERT_EQ(fallback.exitCode, 0) << fallback.err;
    EXPECT_NE(fallback.err.find("OpenGL 1.4"), std::string::npos) << fallback.err;
    EXPECT_NE(fallback.err.find("drawing with the OpenGL 1.1 path"), std::string::npos) << fallback.err;
    const auto chosen = testing::RunQuorbel("--path classic" + arguments_ + classic);
    ASSERT_EQ(chosen.exitCode, 0) << chosen.err;
    EXPECT_EQ(chosen.err.find("OpenGL 1.1 path"), std::string::npos) << "asked for, so nothing to report";
    EXPECT_EQ(testing::FileText(old), testing::FileText(classic)) << "the fallback is the classic path";
}

TEST_F(PathOption, UnknownPathIsRefused) {
    const auto run = testing::RunQuorbel("--path quick --snapshot " + output_.path() + "/x.png");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("bad --path 'quick'"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace quorbel
