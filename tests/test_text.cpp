// The title text on the headless engine: glyph metrics, the centring, what a
// frame shows, the motion per frame and the text styles.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "effects/glyph_cache.h"
#include "effects/text.h"
#include "support/scripted_platform.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

constexpr int kWidth = 720, kHeight = 480, kThreshold = 16;

bool Lit(testing::Rgb p) { return std::max({p.r, p.g, p.b}) > kThreshold; }

// The box, number, grey range and colour sums of the lit pixels.
struct Extent {
    int minX = kWidth, maxX = -1, minY = kHeight, maxY = -1, count = 0, darkest = 255, brightest = 0;
    long r = 0, g = 0, b = 0;
    int Width() const { return maxX - minX + 1; }
};

Extent Measure(const std::vector<std::uint8_t>& rgb, int fromRow = 0, int toRow = kHeight) {
    Extent e;
    for (int y = fromRow; y < toRow; ++y)
        for (int x = 0; x < kWidth; ++x) {
            testing::Rgb p = testing::PixelAt(rgb, kWidth, x, y);
            if (!Lit(p)) continue;
            e.minX = std::min(e.minX, x), e.maxX = std::max(e.maxX, x);
            e.minY = std::min(e.minY, y), e.maxY = std::max(e.maxY, y);
            const int grey = (p.r * 299 + p.g * 587 + p.b * 114) / 1000;
            e.darkest = std::min(e.darkest, grey), e.brightest = std::max(e.brightest, grey);
            e.r += p.r, e.g += p.g, e.b += p.b, ++e.count;
        }
    return e;
}

// Separate pieces of ink (8-connected lit pixels), leaving out specks of a
// few pixels where an edge grazes the threshold.
int InkRegions(const std::vector<std::uint8_t>& rgb) {
    std::vector<char> seen(kWidth * kHeight, 0);
    std::vector<int> stack;
    int regions = 0;
    for (int start = 0; start < kWidth * kHeight; ++start) {
        if (seen[start] || !Lit(testing::PixelAt(rgb, kWidth, start % kWidth, start / kWidth))) continue;
        int size = 0;
        stack.assign(1, start), seen[start] = 1;
        while (!stack.empty()) {
            const int at = stack.back();
            stack.pop_back(), ++size;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int x = at % kWidth + dx, y = at / kWidth + dy;
                    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight || seen[y * kWidth + x]) continue;
                    if (Lit(testing::PixelAt(rgb, kWidth, x, y))) seen[y * kWidth + x] = 1, stack.push_back(y * kWidth + x);
                }
        }
        regions += size > 20;
    }
    return regions;
}

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
    HeadlessEngine* engine = nullptr;
    std::optional<testing::TempDirectory> elsewhere;
};

TEST_F(TextScene, MissingFaceStillDrawsTheTitle) {
    scene.textFontFace.Assign("No Such Face 31337"), scene.textFontFaceSet = 2;
    BuildTextFont();
    EXPECT_GT(Frame().count, 2000);
}

// Joined Arabic letters are one piece of ink; the same letters apart are three.
TEST_F(TextScene, ArabicLettersJoin) {
    scene.textPosZ = -4;
    for (const auto& [title, regions] : {std::pair{"\u0644\u062D\u0645", 1}, {"\u0644 \u062D \u0645", 3}}) {
        scene.titleText.Assign(title);
        EXPECT_EQ(InkRegions(Pixels()), regions) << title;
    }
}

// A wide first line over a narrow second, both centred; turned upside down
// by the spin, the block keeps them together and swaps them.
TEST_F(TextScene, LinesStackCentredAndSpinAsOneBlock) {
    scene.titleText.Assign("WWWWWW\nii");
    for (float angle : {0.0f, 180.0f}) {
        scene.textAngleZ = angle;
        const std::vector<std::uint8_t> frame = Pixels();
        const Extent all = Measure(frame), low = Measure(frame, 0, kHeight / 2), high = Measure(frame, kHeight / 2, kHeight);
        ASSERT_GT(low.count * high.count, 0) << "ink on both sides of the middle, at " << angle;
        EXPECT_NEAR(all.minY + all.maxY, kHeight - 1, 80) << "the block is centred";
        EXPECT_NEAR(low.minX + low.maxX, kWidth - 1, 6);
        EXPECT_NEAR(high.minX + high.maxX, kWidth - 1, 6);
        // Rows count up the screen, as GL reads them.
        const Extent& first = angle == 0 ? high : low;
        const Extent& second = angle == 0 ? low : high;
        EXPECT_GT(first.Width(), 3 * second.Width()) << "the first line is not where it belongs at " << angle;
    }
}

// A title of glyphs already built builds nothing; a new letter builds one.
TEST_F(TextScene, NewTitlesBuildOnlyGlyphsNotSeenBefore) {
    const std::pair<const char*, std::size_t> steps[] = {{"\u6771AB", 2}, {"BA\u6771", 0}, {"AB\u6771C", 1}, {"CAB", 0}};
    scene.titleText.Assign("\u6771");
    EXPECT_GT(Frame().count, 1000) << "a character from a fallback font draws";
    for (const auto& [title, built] : steps) {
        const std::size_t before = GlyphCache::BuiltEver();
        scene.titleText.Assign(title), Frame();
        EXPECT_EQ(GlyphCache::BuiltEver() - before, built) << title;
    }
}

TEST_F(TextScene, DefaultTitleIsDrawnCentredLitAndCanBeHidden) {
    const Extent e = Frame();
    ASSERT_GT(e.count, 2000);
    EXPECT_NEAR(e.minX + e.maxX, kWidth - 1, 4) << "left and right ink should mirror about the middle";
    EXPECT_GE(e.brightest - e.darkest, 60) << "sphere-mapped letters carry many shades, not one flat colour";
    scene.textHidden = 2;
    EXPECT_EQ(Frame().count, 0);
}

TEST_F(TextScene, ExtrusionSeenEdgeOnGrowsWithDepthAndWireframeDrawsOnlyLines) {
    auto rebuilt = [&](float depth, bool wireframe) {
        scene.textDepth = depth, scene.textWireframe = wireframe ? 2 : 1;
        BuildTextFont();
        return Frame();
    };
    scene.textAngleY = 90;
    const int thin = rebuilt(2, false).Width(), thick = rebuilt(6, false).Width();
    // Extrusion 0.2 em at about 7.5 units from the eye: some 15 pixels.
    EXPECT_GT(thin, 8);
    EXPECT_NEAR(thick, 3.0 * thin, 0.35 * thin);
    scene.textAngleY = 0;
    const int solid = rebuilt(2, false).count, lines = rebuilt(2, true).count;
    EXPECT_TRUE(lines > 300 && lines < solid / 3) << lines << " lit pixels of " << solid;
}

// Across the middle of a big O: stroke, hole, stroke.
TEST_F(TextScene, CounterOfABigOIsEmpty) {
    scene.titleText.Assign("O"), scene.textPosZ = -3;
    const std::vector<std::uint8_t> frame = Pixels();
    const Extent e = Measure(frame);
    ASSERT_GT(e.Width(), 100);
    auto lit = [&](int x) { return Lit(testing::PixelAt(frame, kWidth, x, (e.minY + e.maxY) / 2)); };
    EXPECT_FALSE(lit((e.minX + e.maxX) / 2)) << "the hole of the O is filled";
    EXPECT_TRUE(lit(e.minX + 5) && lit(e.maxX - 5)) << "a stroke of the O is missing";
}

// Zoom and pan forward (2), back (4) or neither (3); spin runs on every frame
// until the pause, which stops everything, whoever animates.
TEST_F(TextScene, SpinZoomAndPanStepPerFrameUntilPaused) {
    scene.textSpinX = scene.textSpinZ = 2, scene.textSpinY = 1;  // 1 is off
    scene.textSpinSpeedX = 6, scene.textSpinSpeedY = -3, scene.textSpinSpeedZ = 1.5f, scene.textZoomSpeed = 30;
    scene.textPanLeftSpeed = 8, scene.textPanRightSpeed = 16, scene.textPanUpSpeed = 24, scene.textPanDownSpeed = 32;
    const struct { int dir; float dz, dx, dy; } cases[] = {
        {3, 0, 0, 0}, {2, 0.1f, -0.01f, 0.03f}, {4, -0.1f, 0.02f, -0.04f}};
    for (const auto& c : cases) {
        scene.textPosX = scene.textPosY = scene.textPosZ = 0, scene.textZoomDir = scene.textPanH = scene.textPanV = c.dir;
        AnimateText();
        EXPECT_NEAR(scene.textPosZ, c.dz, 1e-7) << c.dir;
        EXPECT_NEAR(scene.textPosX, c.dx, 1e-7) << c.dir;
        EXPECT_NEAR(scene.textPosY, c.dy, 1e-7) << c.dir;
    }
    EXPECT_EQ(std::vector({scene.textAngleX, scene.textAngleY, scene.textAngleZ}), std::vector({3.0f, 0.0f, 0.75f}));
    scene.textZoomCycle = 4, scene.textZoomStart = -30, scene.textZoomEnd = -16, scene.textLoopStep = 50;
    scene.textBounceDir = 2, scene.paused = 2;
    auto pose = [] {
        return std::vector{scene.textPosX, scene.textPosY, scene.textPosZ, scene.textAngleX, float(scene.textBounceDir)};
    };
    const std::vector<float> before = pose();
    AnimateText();
    engine->RenderFrames(3);
    EXPECT_EQ(pose(), before);
    scene.paused = 0;
    engine->RenderFrames(1);
    EXPECT_NE(pose(), before) << "playing again moves";
}

// Zoom from -30 to -16, `textLoopStep` / 100 per frame (the bounce's 0.1 per
// frame gives 140 frames each way).
TEST_F(TextScene, LoopJumpsBackAndBounceTurnsWithinAHundredthOfEachEnd) {
    scene.textZoomCycle = 2, scene.textZoomStart = -30, scene.textZoomEnd = -16, scene.textLoopStep = 100;
    scene.textPosZ = -17;
    AnimateText();
    EXPECT_EQ(scene.textPosZ, -30.0f) << "a loop reaching its end starts again";
    scene.textZoomCycle = 4, scene.textLoopStep = 10, scene.textBounceDir = 2, scene.textPosZ = -30;
    int turns = 0;
    for (int frame = 0; frame < 1000; ++frame) {
        const int dir = scene.textBounceDir;
        AnimateText();
        if (dir == scene.textBounceDir) continue;
        // Turning at the end takes one step (0.1) back in the same frame.
        EXPECT_NEAR(scene.textPosZ + (dir == 2 ? 0.1f : 0.0f), dir == 2 ? -16.0f : -30.0f, 0.01f) << frame;
        ++turns;
    }
    EXPECT_EQ(turns, 7);
}

TEST_F(TextScene, TextureChoiceOfBothPasses) {
    // Two of the default pictures stand for the reflection map and the text texture slot.
    const GLuint reflection = scene.baseTextures[3], slot = scene.textTexture = scene.baseTextures[0];
    ASSERT_NE(reflection, slot) << "the default pictures (Data/, gfx/) are missing";
    using enum TextPass;
    const struct { int glass, reflect, textured, user, texturedStyle; TextPass pass; GLuint expected; } cases[] = {
        {0, 0, 0, 2, 0, Main, slot}, {0, 0, 0, 2, 0, AfterTunnel, reflection}, {0, 0, 0, 0, 2, AfterTunnel, slot},
        {0, 0, 4, 0, 0, AfterTunnel, slot}, {2, 0, 0, 0, 0, Main, slot}, {2, 2, 0, 0, 0, Main, reflection}};
    for (const auto& c : cases) {
        scene.textGlass = c.glass, scene.textGlassReflect = c.reflect, scene.textTextured = c.textured;
        scene.textUserTexture = c.user, scene.textTexturedStyle = c.texturedStyle;
        glBindTexture(GL_TEXTURE_2D, 0), glDisable(GL_BLEND), BindTextTexture(c.pass);  // each row binds its own
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), c.expected) << &c - cases;
        EXPECT_EQ(glIsEnabled(GL_BLEND), c.reflect >= 2) << &c - cases;
    }
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
