#include "effects/text.h"

#include <GL/gl.h>

#include <memory>
#include <string>
#include <vector>

#include "effects/glyph_builder.h"
#include "effects/glyph_cache.h"
#include "effects/text_layout.h"
#include "imaging/textures.h"
#include "platform/platform.h"
#include "platform/steady_memory.h"
#include "scene/gl_setup.h"
#include "scene/scene_state.h"

namespace quorbel {

namespace {

constexpr const char* kDefaultFace = "Arial Black";
// Past this many cached glyphs a new title starts the cache afresh, so that
// titles in ever new characters cannot pile up GL memory.
constexpr std::size_t kMaxCachedGlyphs = 1024;
constexpr float kDepthToExtrusion = 0.1f;
constexpr float kFirstBuildDepth = 0.2f;
// 255 is what the program passes for white; OpenGL clamps it to 1.
constexpr float kWhite = 255.0f;
constexpr double kLoopStepScale = 0.01;
constexpr double kEndTolerance = 0.01;
constexpr double kPanScale = 0.00125;
constexpr int kForward = 2, kBack = 4;  // direction codes

void ObjectLinearGeneration() {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
}

void BindTexture(std::uint32_t name) { glBindTexture(GL_TEXTURE_2D, name); }
std::uint32_t ReflectionMap() { return scene.baseTextures[3]; }

// The additive, sphere-mapped state of the glass look.
void GlassBlendState() {
    AdditiveTexturedState();
    SphereMapGeneration();
}

// The colour and blending that the style flags ask for just before drawing.
void ApplyStyleBeforeDrawing() {
    if (On(scene.textColourMode)) glColor3f(scene.textRed, scene.textGreen, scene.textBlue);
    if (On(scene.textSingleColour)) {
        glColor3f(RedOf(scene.textColour), GreenOf(scene.textColour), BlueOf(scene.textColour));
        if (!On(scene.textGlassReflect)) BindTexture(scene.baseTextures[0]);
    }
    if (On(scene.textColourApply)) {
        scene.textSingleColour = 0;
        scene.textTextured = 0;
        scene.textColourMode = 2;
        glColor3f(scene.textRed, scene.textGreen, scene.textBlue);
    }
    if (On(scene.textGlassBlend)) GlassBlendState();
}

// The fonts, the glyphs built so far and the title laid out with them.
// Laid out again only when the title or the font changes, never per frame.
struct TitleDrawing {
    std::unique_ptr<TitleFonts> fonts;
    GlyphCache cache;
    TitleLayout layout;
    std::vector<std::uint32_t> lists;       // one per placed glyph
    std::vector<std::uint8_t> displaced;    // 1 where shaping moved a glyph off the pen (marks, joins)
    std::string laidOutText;
    bool laidOut = false;
};

// Never destroyed: its lists belong to a GL context that is gone at exit.
TitleDrawing& Drawing() {
    static TitleDrawing* drawing = new TitleDrawing;
    return *drawing;
}

void LayOut(TitleDrawing& drawing, std::string_view text) {
    drawing.layout = LayOutTitle(text, *drawing.fonts);
    if (drawing.cache.Size() + drawing.layout.glyphs.size() > kMaxCachedGlyphs) drawing.cache.Clear();
    const std::size_t builtBefore = GlyphCache::BuiltEver();
    drawing.lists.clear(), drawing.displaced.clear();
    for (const PlacedGlyph& glyph : drawing.layout.glyphs) {
        const GlyphCache::Entry entry = drawing.cache.Get(*drawing.fonts, glyph.face, glyph.glyph);
        drawing.lists.push_back(entry.list);
        drawing.displaced.push_back(glyph.offsetX != 0.0f || glyph.offsetY != 0.0f);
    }
    drawing.laidOutText.assign(text);
    drawing.laidOut = true;
    if (GlyphCache::BuiltEver() == builtBefore) return;
    GlyphCache::SealNewLists();
    ReturnFreedMemory();  // the outlines and their tessellation are gone  // the outlines and their tessellation are gone
}

// Each glyph's list draws at the pen; the pen then moves by the advance,
// as the one-list-per-character drawing did, so Latin lines land on the
// same pixels.
void DrawLine(const TitleDrawing& drawing, const LaidOutLine& line) {
    glTranslatef(-0.5f * line.width, 0.0f, 0.0f);
    for (std::size_t i = line.first; i < line.first + line.count; ++i) {
        const PlacedGlyph& glyph = drawing.layout.glyphs[i];
        if (drawing.displaced[i]) glPushMatrix(), glTranslatef(glyph.offsetX, glyph.offsetY, 0.0f);
        glCallList(drawing.lists[i]);
        if (drawing.displaced[i]) glPopMatrix();
        glTranslatef(glyph.advance, 0.0f, 0.0f);
    }
}

void SpinStep() {
    if (On(scene.textSpinY)) scene.textAngleY += scene.textSpinSpeedY / 6;
    if (On(scene.textSpinX)) scene.textAngleX += scene.textSpinSpeedX / 6;
    if (On(scene.textSpinZ)) scene.textAngleZ += scene.textSpinSpeedZ / 6;
}

void ZoomStep() {
    if (scene.textZoomDir == kForward) scene.textPosZ += scene.textZoomSpeed / 300;
    if (scene.textZoomDir == kBack) scene.textPosZ -= scene.textZoomSpeed / 300;
}

bool AtOrPastEnd() { return scene.textPosZ >= scene.textZoomEnd - kEndTolerance; }
bool AtOrPastStart() { return scene.textPosZ <= scene.textZoomStart + kEndTolerance; }

void StepTowardsEnd() {
    if (scene.textPosZ <= scene.textZoomEnd)
        scene.textPosZ = static_cast<float>(scene.textPosZ + scene.textLoopStep * kLoopStepScale);
}

void StepTowardsStart() {
    if (scene.textZoomStart <= scene.textPosZ)
        scene.textPosZ = static_cast<float>(scene.textPosZ - scene.textLoopStep * kLoopStepScale);
}

void LoopStep() {
    StepTowardsEnd();
    if (AtOrPastEnd()) scene.textPosZ = static_cast<float>(scene.textZoomStart);
}

// Not an else: the turn at the end and the first step back share a frame.
void BounceStep() {
    if (scene.textBounceDir == kForward) {
        StepTowardsEnd();
        if (AtOrPastEnd()) scene.textBounceDir = kBack;
    }
    if (scene.textBounceDir == kBack) {
        StepTowardsStart();
        if (AtOrPastStart()) scene.textBounceDir = kForward;
    }
}

void PanStep() {
    if (scene.textPanH == kForward) scene.textPosX = static_cast<float>(scene.textPosX - scene.textPanLeftSpeed * kPanScale);
    if (scene.textPanH == kBack) scene.textPosX = static_cast<float>(scene.textPosX + scene.textPanRightSpeed * kPanScale);
    if (scene.textPanV == kForward) scene.textPosY = static_cast<float>(scene.textPosY + scene.textPanUpSpeed * kPanScale);
    if (scene.textPanV == kBack) scene.textPosY = static_cast<float>(scene.textPosY - scene.textPanDownSpeed * kPanScale);
}

}  // namespace

void BuildTextFont() {
    if (!On(scene.textFontFaceSet)) {
        scene.textFontFace.Assign(kDefaultFace);
        scene.textFontFaceSet = 2;
    }
    ExtrusionOptions options{scene.textDepth * kDepthToExtrusion, On(scene.textWireframe)};
    if (!On(scene.textOutlinesBuilt)) {
        // The first build ends as solid glyphs at a fixed depth; building the
        // requested ones first would only be thrown away.
        scene.textDepth = kFirstBuildDepth;
        options = ExtrusionOptions{kFirstBuildDepth, false};
        scene.textOutlinesBuilt = 2;
    }
    TitleDrawing& drawing = Drawing();
    drawing.cache.Reset(options);
    drawing.fonts = std::make_unique<TitleFonts>(
        FontRequest{scene.textFontFace.c_str(), scene.textFontWeight, scene.textFontItalic != 0});
    // Only says that glyphs are ready; the lists are the cache's own.
    scene.textListBase = 1;
    LayOut(drawing, scene.titleText.view());
}

void DeleteTextFont() {
    TitleDrawing& drawing = Drawing();
    drawing.cache.Clear();
    drawing.fonts.reset();
    drawing.layout = TitleLayout{};
    drawing.lists.clear();
    drawing.laidOut = false;
    scene.textListBase = 0;
}

void DrawTitle() {
    TitleDrawing& drawing = Drawing();
    if (!drawing.fonts) return;
    const std::string_view title = scene.titleText.view();
    if (!drawing.laidOut || title != drawing.laidOutText) LayOut(drawing, title);
    const std::vector<LaidOutLine>& lines = drawing.layout.lines;
    if (lines.size() == 1) return DrawLine(drawing, lines[0]);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        glPushMatrix();
        glTranslatef(0.0f, drawing.layout.BaselineY(i), 0.0f);
        DrawLine(drawing, lines[i]);
        glPopMatrix();
    }
}

const TitleLayout* CurrentTitleLayout() { return Drawing().fonts ? &Drawing().layout : nullptr; }

void BindTextTexture(TextPass pass) {
    if (!On(scene.textGlass) && scene.textTextured < 2) {
        BindTexture(ReflectionMap());
        if (pass == TextPass::Main && On(scene.textUserTexture)) BindTexture(scene.textTexture);
        if (On(scene.textTexturedStyle)) BindTexture(scene.textTexture);
    }
    if (scene.textTextured >= 2) BindTexture(scene.textTexture);
    if (On(scene.textGlass)) {
        BindTexture(scene.textTexture);
        if (On(scene.textGlassReflect)) {
            BindTexture(ReflectionMap());
            GlassBlendState();
        }
    }
}

void ApplyTextTransform() {
    glTranslatef(scene.textPosX, scene.textPosY, scene.textPosZ);
    glRotatef(scene.textAngleX, 1.0f, 0.0f, 0.0f);
    glRotatef(scene.textAngleY, 0.0f, 1.0f, 0.0f);
    glRotatef(scene.textAngleZ, 0.0f, 0.0f, 1.0f);
}

void ApplyTextColour() {
    glColor3f(scene.textRed, scene.textGreen, scene.textBlue);
    if (!On(scene.textWhiteRequest)) return;
    scene.textRed = scene.textGreen = scene.textBlue = kWhite;
    glColor3f(kWhite, kWhite, kWhite);
    scene.textWhiteRequest = 0;
}

void DrawText(TextPass pass) {
    if (scene.textTexGenMode >= 4) SphereMapGeneration();
    BindTextTexture(pass);
    ApplyTextTransform();
    ApplyTextColour();
    if (On(scene.textHidden)) return;
    ApplyStyleBeforeDrawing();
    DrawTitle();
}

void AnimateText() {
    if (On(scene.paused)) return;
    SpinStep();
    ZoomStep();
    if (scene.textZoomCycle == kForward) LoopStep();
    if (scene.textZoomCycle == kBack) BounceStep();
    PanStep();
}

// ----- styles ---------------------------------------------------------------

void ApplyChromeStyle() {
    scene.textGlassBlend = 0;
    scene.textSingleColour = 0;
    scene.textGlass = scene.textGlassReflect = scene.textTextured = 0;
    scene.textTexGenMode = 4;
    BindTexture(scene.textTexture);
}

void ApplyGlassStyle() {
    scene.textGlassBlend = 2;
    scene.textSingleColour = 0;
    scene.textColourMode = 0;
    scene.textTextured = 0;
    scene.textGlass = 2;
    scene.textGlassReflect = 2;
    scene.textOutlinesBuilt = 2;
    LoadBaseTextures();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void ApplyTexturedStyle() {
    scene.textTexturedStyle = 2;
    scene.textOutlinesBuilt = 2;
    scene.textSingleColour = 0;
    scene.textTextured = 4;
    scene.textTexGenMode = 0;
    scene.textGlass = scene.textGlassReflect = 0;
    LoadBaseTextures();
    LoadParticleTexture("Data/bubble.bmp");
    LoadTextTexture("Data/Reflectings.bmp");
    ObjectLinearGeneration();
}

void ApplySingleColourStyle() {
    scene.textColourApply = 0;
    scene.textSingleColour = 2;
    if (std::optional<std::uint32_t> chosen = CurrentPlatform().ChooseColour(scene.textColour))
        scene.textColour = *chosen;
    if (!On(scene.textGlassReflect)) {
        BindTexture(scene.baseTextures[0]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        ObjectLinearGeneration();
        glShadeModel(GL_SMOOTH);
        glClearDepth(1.0);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_DEPTH_TEST);
        glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
        glEnable(GL_LIGHT0);
        glEnable(GL_LIGHTING);
        glEnable(GL_COLOR_MATERIAL);
    }
    scene.textOutlinesBuilt = 2;
}

// The chosen colour takes effect at once, the first use included.
void ApplyChangeColourStyle() {
    scene.textColourMode = 2;
    scene.textSingleColour = 0;
    scene.textTextured = 0;
    std::optional<std::uint32_t> chosen = CurrentPlatform().ChooseColour(scene.textColour);
    if (!chosen) return;
    scene.textColour = *chosen;
    scene.textRed = RedOf(*chosen);
    scene.textGreen = GreenOf(*chosen);
    scene.textBlue = BlueOf(*chosen);
    scene.textColourApply = 2;
}

void ResetText() {
    ApplyChromeStyle();
    scene.textWhiteRequest = 2;
    scene.textPosZ = -10.0f;
    glLightfv(GL_LIGHT1, GL_AMBIENT, kLightAmbient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, kLightDiffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, kLightPosition);
    glEnable(GL_LIGHT1);
    SphereMapGeneration();
    BindTexture(ReflectionMap());
}

}  // namespace quorbel
