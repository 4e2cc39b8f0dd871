// The title text on the headless engine: glyph lists and their metrics, the
// centring, what a frame shows, the motion per frame and the text styles.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "effects/glyph_builder.h"
#include "effects/text.h"
#include "platform/scripted_platform.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

constexpr int kWidth = 720, kHeight = 480, kThreshold = 16;

bool Lit(testing::Rgb p) { return std::max({p.r, p.g, p.b}) > kThreshold; }

struct Extent {
    int minX = kWidth, maxX = -1, minY = kHeight, maxY = -1, count = 0;
    std::set<int> shades;  // distinct grey levels of the lit pixels
    long r = 0, g = 0, b = 0;
    int Width() const { return maxX - minX + 1; }
};

Extent Measure(const std::vector<std::uint8_t>& rgb) {
    Extent e;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            testing::Rgb p = testing::PixelAt(rgb, kWidth, x, y);
            if (!Lit(p)) continue;
            e.minX = std::min(e.minX, x), e.maxX = std::max(e.maxX, x);
            e.minY = std::min(e.minY, y), e.maxY = std::max(e.maxY, y);
            ++e.count;
            e.shades.insert((p.r * 299 + p.g * 587 + p.b * 114) / 1000);
            e.r += p.r, e.g += p.g, e.b += p.b;
        }
    return e;
}

float ModelviewX() {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return m[12];
}

float Advance(char c) { return textGlyphMetrics[static_cast<unsigned char>(c)].cellIncX; }

// A fresh scene with only the title shown, run outside the source folder so
// that no settings file there can change what the test set up.
class TextScene : public ::testing::Test {
protected:
    void SetUp() override {
        engine = testing::FreshScene();
        ASSERT_NE(engine, nullptr);
        elsewhere.emplace();
        scene.tunnelShown = scene.tilesShown = scene.particlesShown = scene.fireShown = 0, scene.starsHidden = 2;
        scene.radialBlurOn = scene.motionBlurOn = scene.blurActive = 0;
        scene.textWhiteRequest = 2;  // white, as a reset or the start-up settings leave it
    }
    std::vector<std::uint8_t> Pixels() { engine->RenderFrames(1); return engine->ReadPixels(); }
    Extent Frame() { return Measure(Pixels()); }
    void Rebuild(float depth, bool wireframe) {
        scene.textDepth = depth, scene.textWireframe = wireframe ? 2 : 1;
        BuildTextFont();
    }
    // Zoom from -30 to -16 in a loop (2) or bounce (4), `step` / 100 per frame.
    void Cycle(int kind, float step) {
        scene.textZoomCycle = kind, scene.textZoomStart = -30, scene.textZoomEnd = -16, scene.textLoopStep = step;
    }
    HeadlessEngine* engine = nullptr;
    std::optional<testing::TempDirectory> elsewhere;
};

TEST_F(TextScene, MetricsAndCentring) {
    EXPECT_GT(Advance('W'), Advance('i'));
    const std::pair<std::string, float> cases[] = {
        {"", 0.0f}, {"WW", 2 * Advance('W')}, {"W\xffi", Advance('W') + Advance('i')},  // code 255 adds nothing
        {"100%s", Advance('1') + 2 * Advance('0') + Advance('%') + Advance('s')},  // no format interpretation
        {std::string(300, 'i'), 255 * Advance('i')},  // at most 255 characters
    };
    // Without the lists (whose own advances the pixel tests cover) only the
    // centring is left: back by half the width.
    DeleteTextFont();
    for (const auto& [text, width] : cases) {
        EXPECT_NEAR(TextWidth(text.c_str()), width, 1e-4) << text.size() << " chars";
        glLoadIdentity();
        PrintText(text.c_str());
        EXPECT_NEAR(ModelviewX(), -0.5f * width, 1e-4) << text.size() << " chars";
    }
    glLoadIdentity();
    PrintText(nullptr);
    EXPECT_EQ(ModelviewX(), 0.0f) << "null text draws and moves nothing";
    EXPECT_EQ(Frame().count, 0) << "nothing is drawn without lists";
}

TEST_F(TextScene, MissingFaceStillBuildsDrawableGlyphs) {
    scene.textFontFace.Assign("No Such Face 31337"), scene.textFontFaceSet = 2;
    BuildTextFont();
    EXPECT_GT(LastGlyphBuildReport().glyphsWithShape, 150);
    EXPECT_GT(Frame().count, 2000);
}

TEST_F(TextScene, DefaultTitleIsDrawnCentredLitAndCanBeHidden) {
    ASSERT_NE(scene.baseTextures[3], 0u) << "the default pictures (Data/, gfx/) are missing";
    EXPECT_EQ(scene.titleText, "Quorbel");
    Extent e = Frame();
    ASSERT_GT(e.count, 2000);
    EXPECT_NEAR(e.minX + e.maxX, kWidth - 1, 4) << "left and right ink should mirror about the middle";
    // Sphere-mapped, the letters carry many shades, not one flat colour.
    EXPECT_GE(e.shades.size(), 12u);
    EXPECT_GE(*e.shades.rbegin() - *e.shades.begin(), 60);
    scene.textHidden = 2;
    EXPECT_EQ(Frame().count, 0);
}

TEST_F(TextScene, ExtrusionSeenEdgeOnGrowsWithDepthAndWireframeDrawsOnlyLines) {
    scene.textAngleY = 90;
    std::vector<int> widths;
    for (float depth : {2.0f, 4.0f, 6.0f}) {
        Rebuild(depth, false);
        widths.push_back(Frame().Width());
    }
    // Extrusion 0.2 em at about 7.5 units from the eye: some 15 pixels.
    EXPECT_GT(widths[0], 8);
    EXPECT_NEAR(widths[2], 3.0 * widths[0], 0.35 * widths[0]);
    scene.textAngleY = 0;
    const int solid = Frame().count;
    Rebuild(2.0f, true);
    const int lines = Frame().count;
    EXPECT_TRUE(lines > 300 && lines < solid / 3) << lines << " lit pixels of " << solid;
}

// Across the middle of a big O: stroke, hole, stroke.
TEST_F(TextScene, CounterOfABigOIsEmpty) {
    scene.titleText.Assign("O"), scene.textPosZ = -3;
    const std::vector<std::uint8_t> frame = Pixels();
    const Extent e = Measure(frame);
    ASSERT_GT(e.Width(), 100);
    const int midY = (e.minY + e.maxY) / 2;
    EXPECT_FALSE(Lit(testing::PixelAt(frame, kWidth, (e.minX + e.maxX) / 2, midY))) << "the hole of the O is filled";
    EXPECT_TRUE(Lit(testing::PixelAt(frame, kWidth, e.minX + 5, midY))) << "the O's left stroke is missing";
    EXPECT_TRUE(Lit(testing::PixelAt(frame, kWidth, e.maxX - 5, midY))) << "the O's right stroke is missing";
}

TEST_F(TextScene, SpinZoomAndPanStepPerFrame) {
    scene.textSpinX = scene.textSpinZ = 2, scene.textSpinY = 1;  // 1 is off
    scene.textSpinSpeedX = 6.0f, scene.textSpinSpeedY = -3.0f, scene.textSpinSpeedZ = 1.5f;
    AnimateText();
    EXPECT_EQ(std::vector({scene.textAngleX, scene.textAngleY, scene.textAngleZ}), std::vector({1.0f, 0.0f, 0.25f}));
    const struct { int zoomDir, panH, panV; float dz, dx, dy; } cases[] = {
        {2, 2, 2, 0.1f, -0.01f, 0.03f}, {4, 4, 4, -0.1f, 0.02f, -0.04f}, {3, 3, 3, 0, 0, 0}};
    scene.textZoomSpeed = 30, scene.textPanLeftSpeed = 8, scene.textPanRightSpeed = 16;
    scene.textPanUpSpeed = 24, scene.textPanDownSpeed = 32;
    for (const auto& c : cases) {
        scene.textPosX = scene.textPosY = 0, scene.textPosZ = -10;
        scene.textZoomDir = c.zoomDir, scene.textPanH = c.panH, scene.textPanV = c.panV;
        AnimateText();
        EXPECT_NEAR(scene.textPosZ, -10 + c.dz, 1e-5) << c.zoomDir;
        EXPECT_NEAR(scene.textPosX, c.dx, 1e-7) << c.panH;
        EXPECT_NEAR(scene.textPosY, c.dy, 1e-7) << c.panV;
    }
}

TEST_F(TextScene, LoopJumpsBackAndBounceTurnsWithinAHundredthOfEachEnd) {
    Cycle(2, 100);
    for (auto [from, to] : {std::pair{-18.0f, -17.0f}, {-17.0f, -30.0f}, {-5.0f, -30.0f}}) {
        scene.textPosZ = from;
        AnimateText();
        EXPECT_FLOAT_EQ(scene.textPosZ, to) << "from " << from;
    }
    Cycle(4, 10);
    scene.textBounceDir = 2, scene.textPosZ = -30;
    int turnsAtEnd = 0, turnsAtStart = 0;
    for (int frame = 0; frame < 1000; ++frame) {
        const int dir = scene.textBounceDir;
        AnimateText();
        EXPECT_TRUE(scene.textPosZ >= -30.01f && scene.textPosZ <= -16.0f) << scene.textPosZ;
        if (dir == scene.textBounceDir) continue;
        // Turning at the end takes one step (0.1) back in the same frame.
        EXPECT_NEAR(scene.textPosZ + (dir == 2 ? 0.1f : 0.0f), dir == 2 ? -16.0f : -30.0f, 0.01f) << frame;
        ++(dir == 2 ? turnsAtEnd : turnsAtStart);
    }
    EXPECT_EQ(turnsAtEnd, 4);  // 140 frames each way
    EXPECT_GE(turnsAtStart, 3);
}

TEST_F(TextScene, NothingMovesWhilePaused) {
    scene.textSpinX = scene.textSpinY = scene.textSpinZ = 2;
    scene.textSpinSpeedX = scene.textSpinSpeedY = scene.textSpinSpeedZ = 5;
    scene.textZoomDir = 2, scene.textZoomSpeed = 50, scene.textPanH = scene.textPanV = 4;
    Cycle(4, 50);
    scene.textBounceDir = 2, scene.paused = 2;
    auto pose = [] { return std::vector{scene.textPosX, scene.textPosY, scene.textPosZ, scene.textAngleX,
                                        scene.textAngleY, scene.textAngleZ, float(scene.textBounceDir)}; };
    const std::vector<float> before = pose();
    AnimateText();
    engine->RenderFrames(3);
    EXPECT_EQ(pose(), before);
    scene.paused = 0;
    engine->RenderFrames(1);
    EXPECT_NE(pose(), before) << "playing again moves";
}

TEST_F(TextScene, TextureChoiceOfBothPasses) {
    GLuint names[2];
    glGenTextures(2, names);
    const GLuint reflection = scene.baseTextures[3] = names[0], slot = scene.textTexture = names[1];
    const struct { int glass, reflect, textured, user, texturedStyle; TextPass pass; GLuint expected; } cases[] = {
        {0, 0, 0, 0, 0, TextPass::Main, reflection},        {0, 0, 0, 2, 0, TextPass::Main, slot},
        {0, 0, 0, 2, 0, TextPass::AfterTunnel, reflection},  // the user test is left out
        {0, 0, 0, 0, 2, TextPass::AfterTunnel, slot},        {0, 0, 2, 0, 0, TextPass::Main, slot},
        {0, 0, 4, 0, 0, TextPass::AfterTunnel, slot},        {2, 0, 0, 0, 0, TextPass::Main, slot},
        {2, 2, 0, 0, 0, TextPass::Main, reflection},
    };
    for (const auto& c : cases) {
        scene.textGlass = c.glass, scene.textGlassReflect = c.reflect, scene.textTextured = c.textured;
        scene.textUserTexture = c.user, scene.textTexturedStyle = c.texturedStyle;
        glDisable(GL_BLEND);
        BindTextTexture(c.pass);
        GLint bound;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), c.expected) << &c - cases;
        EXPECT_EQ(glIsEnabled(GL_BLEND), c.reflect >= 2) << &c - cases;
    }
    glDeleteTextures(2, names);
}

// The white request is taken by the first frame only; a chosen colour then
// shows, and a cancelled choice keeps it.
TEST_F(TextScene, ChosenColourShowsAndCancellingKeepsIt) {
    ScopedScriptedPlatform platform;
    Frame();
    platform->colourAnswers.push_back(0x00336699u);  // red 0x99, green 0x66, blue 0x33
    ApplyChangeColourStyle();
    const Extent chosen = Frame();
    EXPECT_TRUE(chosen.r > chosen.g && chosen.g > chosen.b) << chosen.r << " " << chosen.g << " " << chosen.b;
    ApplyChangeColourStyle();  // no answer: cancelled
    const Extent kept = Frame();
    EXPECT_EQ(std::vector({kept.r, kept.g, kept.b}), std::vector({chosen.r, chosen.g, chosen.b}));
}

}  // namespace
}  // namespace quorbel
