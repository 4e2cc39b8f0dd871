// The title text on the headless engine: glyph lists and their metrics, the
// centring, what a frame shows, the motion per frame and the text styles.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
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

using testing::CountLitPixels;
using testing::PixelAt;
using testing::Rgb;

constexpr int kWidth = 720, kHeight = 480;
constexpr int kThreshold = 16;

// Pixels per em for a glyph facing the camera at depth z: the view is a
// 45-degree perspective over the window's height.
double PixelsPerEm(double z) { return (kHeight / 2.0) / (std::abs(z) * std::tan(22.5 * M_PI / 180.0)); }

struct Extent {
    int minX = kWidth, maxX = -1, minY = kHeight, maxY = -1, count = 0;
    int Width() const { return maxX - minX + 1; }
};

Extent LitExtent(const std::vector<std::uint8_t>& rgb) {
    Extent e;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            Rgb p = PixelAt(rgb, kWidth, x, y);
            if (p.r <= kThreshold && p.g <= kThreshold && p.b <= kThreshold) continue;
            e.minX = std::min(e.minX, x);
            e.maxX = std::max(e.maxX, x);
            e.minY = std::min(e.minY, y);
            e.maxY = std::max(e.maxY, y);
            ++e.count;
        }
    return e;
}

std::set<int> LitShades(const std::vector<std::uint8_t>& rgb) {
    std::set<int> shades;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        if (rgb[i] > kThreshold || rgb[i + 1] > kThreshold || rgb[i + 2] > kThreshold)
            shades.insert((rgb[i] * 299 + rgb[i + 1] * 587 + rgb[i + 2] * 114) / 1000);
    return shades;
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
        scene.tunnelShown = scene.tilesShown = scene.particlesShown = scene.fireShown = 0;
        scene.starsHidden = 2;
        scene.radialBlurOn = scene.motionBlurOn = scene.blurActive = 0;
        scene.titleText.Assign("Quorbel");
        // White, as a reset or the start-up settings leave it.
        scene.textWhiteRequest = 2;
    }

    std::vector<std::uint8_t> Frame() {
        engine->RenderFrames(1);
        return engine->ReadPixels();
    }

    void Rebuild(float depth, bool wireframe) {
        scene.textDepth = depth;
        scene.textWireframe = wireframe ? 2 : 1;
        scene.textOutlinesBuilt = 2;
        BuildTextFont();
    }

    HeadlessEngine* engine = nullptr;
    std::optional<testing::TempDirectory> elsewhere;
};

// ----- building -------------------------------------------------------------

TEST_F(TextScene, ViewInitialisationBuildsTheDefaultFontOnce) {
    EXPECT_EQ(scene.textFontFace, "Arial Black");
    EXPECT_EQ(scene.textFontFaceSet, 2);
    EXPECT_EQ(scene.textOutlinesBuilt, 2);
    EXPECT_FLOAT_EQ(scene.textDepth, 0.2f);
    ASSERT_NE(scene.textListBase, 0u);
    EXPECT_TRUE(glIsList(scene.textListBase + 'A'));
    EXPECT_TRUE(glIsList(scene.textListBase + 254));
    // Code 255 gets no list: calling its name draws and moves nothing.
    glLoadIdentity();
    glCallList(scene.textListBase + 255);
    EXPECT_EQ(ModelviewX(), 0.0f);
}

TEST_F(TextScene, FirstBuildIsSolidAtFixedDepthWhateverWasAsked) {
    Rebuild(2.0f, false);
    scene.textAngleY = 90;
    const int solidStrip = LitExtent(Frame()).Width();
    scene.textOutlinesBuilt = 0;
    scene.textDepth = 6.0f;
    scene.textWireframe = 2;
    BuildTextFont();
    EXPECT_FLOAT_EQ(scene.textDepth, 0.2f);
    EXPECT_EQ(scene.textOutlinesBuilt, 2);
    // Solid glyphs 0.2 deep: the same strip as the solid build at depth 2.0.
    EXPECT_NEAR(LitExtent(Frame()).Width(), solidStrip, 1);
}

TEST_F(TextScene, UnsetFaceFallsBackToTheDefaultFace) {
    scene.textFontFace.Assign("DejaVu Serif");
    scene.textFontFaceSet = 0;
    BuildTextFont();
    EXPECT_EQ(scene.textFontFace, "Arial Black");
    EXPECT_EQ(scene.textFontFaceSet, 2);
}

TEST_F(TextScene, MissingFaceStillBuildsDrawableGlyphs) {
    scene.textFontFace.Assign("No Such Face 31337");
    scene.textFontFaceSet = 2;
    BuildTextFont();
    EXPECT_EQ(scene.textFontFace, "No Such Face 31337");
    EXPECT_TRUE(LastGlyphBuildReport().fontFound);
    EXPECT_GT(LastGlyphBuildReport().glyphsWithShape, 150);
    EXPECT_GT(Advance('A'), 0.3f);
    EXPECT_GT(LitExtent(Frame()).count, 2000);
}

TEST_F(TextScene, RebuildReplacesTheOldLists) {
    const std::uint32_t oldBase = scene.textListBase;
    BuildTextFont();
    EXPECT_NE(scene.textListBase, 0u);
    if (scene.textListBase != oldBase) {
        EXPECT_FALSE(glIsList(oldBase + 'A'));
    }
    DeleteTextFont();
    EXPECT_EQ(scene.textListBase, 0u);
    EXPECT_EQ(LitExtent(Frame()).count, 0) << "nothing is drawn without lists";
}

// ----- metrics and centring -------------------------------------------------

TEST_F(TextScene, MetricsFollowTheLetters) {
    EXPECT_GT(Advance('W'), Advance('i'));
    EXPECT_GT(Advance('i'), 0.0f);
    const GlyphMetrics& none = textGlyphMetrics[255];
    EXPECT_EQ(none.cellIncX, 0.0f);
    EXPECT_EQ(none.blackBoxX, 0.0f);
    EXPECT_EQ(none.blackBoxY, 0.0f);
}

// After PrintText the origin has moved back by half the width (centring) and
// forward by the whole width (each list's advance): half the width in all.
TEST_F(TextScene, PrintTextCentresOnHalfTheSummedAdvances) {
    struct Case {
        std::string text;
        float width;
    };
    const Case cases[] = {
        {"", 0.0f},
        {"WW", 2 * Advance('W')},
        {"Wi", Advance('W') + Advance('i')},
        {"\xff", 0.0f},
        {"W\xffW", 2 * Advance('W')},
        {"100%s%d", Advance('1') + 2 * Advance('0') + 2 * Advance('%') + Advance('s') + Advance('d')},
        {std::string(300, 'i'), 255 * Advance('i')},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(TextWidth(c.text.c_str()), c.width, 1e-4) << c.text.size() << " chars";
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        PrintText(c.text.c_str());
        EXPECT_NEAR(ModelviewX(), 0.5f * c.width, 1e-4) << c.text.size() << " chars";
    }
}

TEST_F(TextScene, CentringAloneIsMinusHalfTheWidth) {
    const float w = Advance('W');
    DeleteTextFont();  // the metrics stay; only the lists' own advances go
    glLoadIdentity();
    PrintText("WW");
    EXPECT_NEAR(ModelviewX(), -w, 1e-5);
}

TEST_F(TextScene, NullTextDrawsAndMovesNothing) {
    glLoadIdentity();
    PrintText(nullptr);
    EXPECT_EQ(ModelviewX(), 0.0f);
    EXPECT_EQ(TextWidth(nullptr), 0.0f);
}

// ----- frames -----------------------------------------------------------------

TEST_F(TextScene, TitleIsDrawnCentredOnTheView) {
    // H and O have equal side bearings, so the ink is centred exactly.
    scene.titleText.Assign("HOH");
    Extent e = LitExtent(Frame());
    ASSERT_GT(e.count, 1000);
    EXPECT_NEAR((e.minX + e.maxX) / 2.0, (kWidth - 1) / 2.0, 1.5);
    // The baseline lies on the view's centre line; capitals stand on it.
    EXPECT_NEAR(e.minY, kHeight / 2.0, 2.0);
}

TEST_F(TextScene, DefaultTitleIsDrawnAtItsSizeCentredAndShaded) {
    ASSERT_NE(scene.baseTextures[3], 0u) << "the default pictures (Data/, gfx/) are missing";
    EXPECT_EQ(scene.titleText, "Quorbel");
    std::vector<std::uint8_t> frame = Frame();
    Extent e = LitExtent(frame);
    ASSERT_GT(e.count, 2000);
    // The ink runs from the Q's left edge to the l's right edge.
    const double ppe = PixelsPerEm(-10.0);
    const GlyphMetrics& q = textGlyphMetrics['Q'];
    const GlyphMetrics& l = textGlyphMetrics['l'];
    const double width = TextWidth("Quorbel");
    const double left = -width / 2 + q.originX;
    const double right = width / 2 - l.cellIncX + l.originX + l.blackBoxX;
    EXPECT_NEAR(e.minX, (kWidth - 1) / 2.0 + left * ppe, 2.0);
    EXPECT_NEAR(e.maxX, (kWidth - 1) / 2.0 + right * ppe, 2.0);
    // Sphere-mapped, the letters carry many shades, not one flat colour.
    std::set<int> shades = LitShades(frame);
    EXPECT_GE(shades.size(), 12u);
    EXPECT_GE(*shades.rbegin() - *shades.begin(), 60);
}

TEST_F(TextScene, HiddenTextDrawsNothing) {
    ASSERT_GT(LitExtent(Frame()).count, 1000);
    scene.textHidden = 2;
    EXPECT_EQ(LitExtent(Frame()).count, 0);
}

TEST_F(TextScene, ExtrusionSeenEdgeOnGrowsWithDepth) {
    scene.textAngleY = 90;
    std::vector<int> widths;
    for (float depth : {2.0f, 4.0f, 6.0f}) {
        Rebuild(depth, false);
        widths.push_back(LitExtent(Frame()).Width());
    }
    // Extrusion 0.2 em at about 7.5 units from the eye: some 15 pixels.
    EXPECT_GT(widths[0], 8);
    EXPECT_GT(widths[1], widths[0] + 8);
    EXPECT_GT(widths[2], widths[1] + 8);
    EXPECT_NEAR(widths[2], 3.0 * widths[0], 0.35 * widths[0]);
}

TEST_F(TextScene, WireframeDrawsOutlinesOnly) {
    const int solid = LitExtent(Frame()).count;
    Rebuild(2.0f, true);
    Extent lines = LitExtent(Frame());
    EXPECT_GT(lines.count, 300);
    EXPECT_LT(lines.count, solid / 3);
}

TEST_F(TextScene, CounterOfABigOIsEmpty) {
    scene.titleText.Assign("O");
    scene.textPosZ = -3;
    std::vector<std::uint8_t> frame = Frame();
    const GlyphMetrics& o = textGlyphMetrics['O'];
    const double ppe = PixelsPerEm(-3.0);
    auto screen = [&](double emX, double emY) {
        return PixelAt(frame, kWidth, static_cast<int>(std::lround((kWidth - 1) / 2.0 + (emX - o.cellIncX / 2) * ppe)),
                       static_cast<int>(std::lround(kHeight / 2.0 + emY * ppe)));
    };
    const double midY = o.originY - o.blackBoxY / 2;
    Rgb centre = screen(o.originX + o.blackBoxX / 2, midY);
    Rgb leftStroke = screen(o.originX + 0.04, midY);
    EXPECT_LE(std::max({centre.r, centre.g, centre.b}), kThreshold) << "the hole of the O is filled";
    EXPECT_GT(std::max({leftStroke.r, leftStroke.g, leftStroke.b}), kThreshold) << "the O's stroke is missing";
}

// ----- motion -------------------------------------------------------------------

TEST_F(TextScene, SpinTurnsBySpeedOverSixPerFrame) {
    scene.textSpinX = scene.textSpinY = scene.textSpinZ = 2;
    scene.textSpinSpeedX = 6.0f;
    scene.textSpinSpeedY = -3.0f;
    scene.textSpinSpeedZ = 1.5f;
    AnimateText();
    EXPECT_FLOAT_EQ(scene.textAngleX, 1.0f);
    EXPECT_FLOAT_EQ(scene.textAngleY, -0.5f);
    EXPECT_FLOAT_EQ(scene.textAngleZ, 0.25f);
    scene.textSpinY = 1;  // 1 is off
    AnimateText();
    EXPECT_FLOAT_EQ(scene.textAngleX, 2.0f);
    EXPECT_FLOAT_EQ(scene.textAngleY, -0.5f);
}

TEST_F(TextScene, ZoomAndPanStepsPerFrame) {
    struct Case {
        int zoomDir, panH, panV;
        float dz, dx, dy;
    };
    const Case cases[] = {
        {2, 0, 0, 0.1f, 0, 0},      {4, 0, 0, -0.1f, 0, 0},      {0, 2, 0, 0, -0.01f, 0},
        {0, 4, 0, 0, 0.02f, 0},     {0, 0, 2, 0, 0, 0.03f},      {0, 0, 4, 0, 0, -0.04f},
        {3, 3, 3, 0, 0, 0},  // not a direction code
    };
    for (const Case& c : cases) {
        scene.textPosX = scene.textPosY = 0;
        scene.textPosZ = -10;
        scene.textZoomSpeed = 30;
        scene.textPanLeftSpeed = 8;
        scene.textPanRightSpeed = 16;
        scene.textPanUpSpeed = 24;
        scene.textPanDownSpeed = 32;
        scene.textZoomDir = c.zoomDir;
        scene.textPanH = c.panH;
        scene.textPanV = c.panV;
        AnimateText();
        EXPECT_NEAR(scene.textPosZ, -10 + c.dz, 1e-5) << c.zoomDir;
        EXPECT_NEAR(scene.textPosX, c.dx, 1e-7) << c.panH;
        EXPECT_NEAR(scene.textPosY, c.dy, 1e-7) << c.panV;
    }
}

TEST_F(TextScene, LoopJumpsBackToTheStartAtTheEnd) {
    scene.textZoomCycle = 2;
    scene.textZoomStart = -30;
    scene.textZoomEnd = -16;
    scene.textLoopStep = 100;  // one unit per frame
    scene.textPosZ = -18;
    AnimateText();
    EXPECT_FLOAT_EQ(scene.textPosZ, -17);
    AnimateText();
    EXPECT_FLOAT_EQ(scene.textPosZ, -30) << "reaching the end jumps back";
    scene.textPosZ = -5;  // beyond the end: no step, straight back
    AnimateText();
    EXPECT_FLOAT_EQ(scene.textPosZ, -30);
}

TEST_F(TextScene, BounceTurnsAtTheEndAndStepsBackInTheSameFrame) {
    scene.textZoomCycle = 4;
    scene.textZoomStart = -30;
    scene.textZoomEnd = -16;
    scene.textLoopStep = 100;
    scene.textBounceDir = 2;
    scene.textPosZ = -17;
    AnimateText();
    EXPECT_EQ(scene.textBounceDir, 4);
    EXPECT_FLOAT_EQ(scene.textPosZ, -17);
    scene.textPosZ = -29;
    AnimateText();
    EXPECT_EQ(scene.textBounceDir, 2);
    EXPECT_FLOAT_EQ(scene.textPosZ, -30);
}

TEST_F(TextScene, BounceTurnsWithinAHundredthOfEachEnd) {
    scene.textZoomCycle = 4;
    scene.textZoomStart = -30;
    scene.textZoomEnd = -16;
    scene.textLoopStep = 10;  // 0.1 per frame
    scene.textBounceDir = 2;
    scene.textPosZ = -30;
    int turnsAtEnd = 0, turnsAtStart = 0;
    for (int frame = 0; frame < 1000; ++frame) {
        const int dir = scene.textBounceDir;
        AnimateText();
        EXPECT_GE(scene.textPosZ, -30.01f);
        EXPECT_LE(scene.textPosZ, -16.0f);
        if (dir == 2 && scene.textBounceDir == 4) {
            // Turned at the end, then already took one step back.
            EXPECT_NEAR(scene.textPosZ + 0.1f, -16.0f, 0.01f) << "frame " << frame;
            ++turnsAtEnd;
        }
        if (dir == 4 && scene.textBounceDir == 2) {
            EXPECT_NEAR(scene.textPosZ, -30.0f, 0.01f) << "frame " << frame;
            ++turnsAtStart;
        }
    }
    // 140 frames each way.
    EXPECT_EQ(turnsAtEnd, 4);
    EXPECT_GE(turnsAtStart, 3);
}

TEST_F(TextScene, NothingMovesWhilePaused) {
    scene.textSpinX = scene.textSpinY = scene.textSpinZ = 2;
    scene.textSpinSpeedX = scene.textSpinSpeedY = scene.textSpinSpeedZ = 5;
    scene.textZoomDir = 2;
    scene.textZoomSpeed = 50;
    scene.textPanH = scene.textPanV = 4;
    scene.textZoomCycle = 4;
    scene.textBounceDir = 2;
    scene.textLoopStep = 50;
    scene.textZoomStart = -30;
    scene.paused = 2;
    const SceneState before = scene;
    AnimateText();
    engine->RenderFrames(3);
    for (float SceneState::*field : {&SceneState::textPosX, &SceneState::textPosY, &SceneState::textPosZ,
                                     &SceneState::textAngleX, &SceneState::textAngleY, &SceneState::textAngleZ})
        EXPECT_EQ(scene.*field, before.*field);
    EXPECT_EQ(scene.textBounceDir, before.textBounceDir);
    scene.paused = 0;
    engine->RenderFrames(1);
    EXPECT_NE(scene.textAngleY, before.textAngleY) << "playing again moves";
}

// ----- texture, colour and styles -------------------------------------------

GLuint BoundTexture() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return static_cast<GLuint>(name);
}

TEST_F(TextScene, TextureChoiceOfBothPasses) {
    GLuint names[2];
    glGenTextures(2, names);
    const GLuint reflection = names[0], slot = names[1];
    scene.baseTextures[3] = reflection;
    scene.textTexture = slot;
    struct Case {
        int glass, reflect, textured, user, texturedStyle;
        TextPass pass;
        GLuint expected;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, TextPass::Main, reflection},
        {0, 0, 0, 2, 0, TextPass::Main, slot},
        {0, 0, 0, 2, 0, TextPass::AfterTunnel, reflection},  // the user test is left out
        {0, 0, 0, 0, 2, TextPass::AfterTunnel, slot},
        {0, 0, 2, 0, 0, TextPass::Main, slot},
        {0, 0, 4, 0, 0, TextPass::AfterTunnel, slot},
        {2, 0, 0, 0, 0, TextPass::Main, slot},
        {2, 2, 0, 0, 0, TextPass::Main, reflection},
    };
    for (const Case& c : cases) {
        scene.textGlass = c.glass;
        scene.textGlassReflect = c.reflect;
        scene.textTextured = c.textured;
        scene.textUserTexture = c.user;
        scene.textTexturedStyle = c.texturedStyle;
        glDisable(GL_BLEND);
        BindTextTexture(c.pass);
        EXPECT_EQ(BoundTexture(), c.expected) << &c - cases;
        EXPECT_EQ(glIsEnabled(GL_BLEND), c.reflect >= 2) << &c - cases;
    }
    glDeleteTextures(2, names);
}

TEST_F(TextScene, WhiteRequestIsTakenOnce) {
    scene.textRed = 0.5f;
    ApplyTextColour();
    EXPECT_EQ(scene.textRed, 255.0f);
    EXPECT_EQ(scene.textBlue, 255.0f);
    EXPECT_EQ(scene.textWhiteRequest, 0);
    scene.textRed = 0.25f;
    ApplyTextColour();
    EXPECT_EQ(scene.textRed, 0.25f);
}

struct ChannelSums {
    long r = 0, g = 0, b = 0;
};
ChannelSums SumChannels(const std::vector<std::uint8_t>& rgb) {
    ChannelSums s;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) s.r += rgb[i], s.g += rgb[i + 1], s.b += rgb[i + 2];
    return s;
}

TEST_F(TextScene, ChangeColourAppliesAtItsFirstUse) {
    ScopedScriptedPlatform platform;
    platform->colourAnswers.push_back(0x00336699u);  // red 0x99, green 0x66, blue 0x33
    ApplyChangeColourStyle();
    EXPECT_EQ(scene.textColour, 0x00336699u);
    EXPECT_NEAR(scene.textRed, 0x99 / 255.0f, 1e-6);
    EXPECT_NEAR(scene.textGreen, 0x66 / 255.0f, 1e-6);
    EXPECT_NEAR(scene.textBlue, 0x33 / 255.0f, 1e-6);
    EXPECT_EQ(scene.textColourApply, 2);
    EXPECT_EQ(scene.textColourMode, 2);
    scene.textWhiteRequest = 0;
    ChannelSums sums = SumChannels(Frame());
    EXPECT_GT(sums.r, sums.g);
    EXPECT_GT(sums.g, sums.b);
}

TEST_F(TextScene, CancelledColourDialogKeepsTheColour) {
    ScopedScriptedPlatform platform;
    scene.textColour = 0x00112233u;
    scene.textRed = 0.5f;
    ApplyChangeColourStyle();
    EXPECT_EQ(scene.textColour, 0x00112233u);
    EXPECT_EQ(scene.textRed, 0.5f);
    EXPECT_EQ(scene.textColourApply, 0);
    ApplySingleColourStyle();
    EXPECT_EQ(scene.textColour, 0x00112233u);
    EXPECT_EQ(scene.textSingleColour, 2);
}

TEST_F(TextScene, SingleColourDrawsLitInTheChosenColour) {
    ScopedScriptedPlatform platform;
    platform->colourAnswers.push_back(0x000000FFu);  // pure red
    ApplySingleColourStyle();
    EXPECT_EQ(scene.textColour, 0x000000FFu);
    EXPECT_EQ(scene.textSingleColour, 2);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    scene.textAngleY = 35;  // walls turned towards the light shade differently
    Rebuild(6.0f, false);
    std::vector<std::uint8_t> frame = Frame();
    ChannelSums sums = SumChannels(frame);
    EXPECT_GT(sums.r, 20 * (sums.g + sums.b + 1));
    EXPECT_GE(LitShades(frame).size(), 6u) << "lighting gives the faces and walls different shades";
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
}

TEST_F(TextScene, ChromeGlassAndTexturedStylesSetTheirFlags) {
    scene.textTexture = 0;
    ApplyGlassStyle();
    EXPECT_EQ(scene.textGlass, 2);
    EXPECT_EQ(scene.textGlassReflect, 2);
    EXPECT_EQ(scene.textGlassBlend, 2);
    EXPECT_EQ(scene.textTextured, 0);
    ApplyChromeStyle();
    EXPECT_EQ(scene.textGlass, 0);
    EXPECT_EQ(scene.textGlassReflect, 0);
    EXPECT_EQ(scene.textGlassBlend, 0);
    EXPECT_EQ(scene.textTexGenMode, 4);
    EXPECT_EQ(BoundTexture(), scene.textTexture);
    std::filesystem::current_path(testing::SourceDir());  // the style loads pictures from Data/
    ApplyTexturedStyle();
    EXPECT_EQ(scene.textTextured, 4);
    EXPECT_EQ(scene.textTexturedStyle, 2);
    EXPECT_EQ(scene.textTexGenMode, 0);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    GLint mode = 0;
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &mode);
    EXPECT_EQ(mode, GL_OBJECT_LINEAR);
    EXPECT_NE(scene.textTexture, 0u) << "Data/Reflectings.bmp went into the text slot";
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}

}  // namespace
}  // namespace quorbel
