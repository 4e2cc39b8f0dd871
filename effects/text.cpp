#include "effects/text.h"

#include <GL/gl.h>

#include <memory>
#include <string>
#include <vector>

#include "effects/glyph_builder.h"
#include "effects/glyph_cache.h"
#include "effects/text_layout.h"
#include "effects/value_runs.h"
#include "imaging/textures.h"
#include "platform/platform.h"
#include "platform/steady_memory.h"
#include "scene/gl_setup.h"
#include "scene/scene_state.h"

namespace quorbel {

namespace {

constexpr const char* kDefaultFace = "Arial Black";
// Past this many cached glyphs a new title starts the cache afresh, so that
// titles in ever new characters cannot pile up memory.
constexpr std::size_t kMaxCachedGlyphs = 512;
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

// The fonts, the glyphs built so far, and the title laid out with them and
// compiled into one display list. Laid out and compiled again only when the
// title or the font changes, never per frame.
struct TitleDrawing {
    std::unique_ptr<TitleFonts> fonts;
    GlyphCache cache;
    std::uint32_t list = 0;
    std::string laidOutText;
    bool laidOut = false;
    TitleLayout layout;  // drawn straight where lists are not compiled
};

// Mesa's display-list compiler crashes at the end of the title's list in
// thread-checker builds (it takes the list's start from the wrong member),
// so those builds draw the laid-out glyphs straight every frame: the same
// calls the list would replay.
#if defined(__SANITIZE_THREAD__)
constexpr bool kCompileTitleList = false;
#else
constexpr bool kCompileTitleList = true;
#endif

// Never destroyed: its list belongs to a GL context that is gone at exit.
TitleDrawing& Drawing() {
    static TitleDrawing* drawing = new TitleDrawing;
    return *drawing;
}

// Each glyph is drawn at the pen, which then moves by the glyph's advance,
// as when every character had its list: Latin lines land on the same pixels.
void CompileLine(TitleDrawing& drawing, const TitleLayout& layout, const LaidOutLine& line) {
    glTranslatef(-0.5f * line.width, 0.0f, 0.0f);
    for (std::size_t i = line.first; i < line.first + line.count; ++i) {
        const PlacedGlyph& glyph = layout.glyphs[i];
        const GlyphMesh& mesh = drawing.cache.Get(*drawing.fonts, glyph.face, glyph.glyph).mesh;
        // Marks and cursive joins sit off the pen.
        const bool displaced = glyph.offsetX != 0.0f || glyph.offsetY != 0.0f;
        if (displaced) glPushMatrix(), glTranslatef(glyph.offsetX, glyph.offsetY, 0.0f);
        mesh.Draw();
        if (displaced) glPopMatrix();
        glTranslatef(glyph.advance, 0.0f, 0.0f);
    }
}

// One line is drawn as it always was, leaving the pen at its end; several
// are centred as a block on their middle baseline.
void CompileTitle(TitleDrawing& drawing, const TitleLayout& layout) {
    if (layout.lines.size() == 1) return CompileLine(drawing, layout, layout.lines[0]);
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        glPushMatrix();
        glTranslatef(0.0f, layout.BaselineY(i), 0.0f);
        CompileLine(drawing, layout, layout.lines[i]);
        glPopMatrix();
    }
}

void DeleteTitleList(TitleDrawing& drawing) {
    if (drawing.list != 0) glDeleteLists(drawing.list, 1);
    drawing.list = 0;
    drawing.laidOut = false;
}

void LayOut(TitleDrawing& drawing, std::string_view text) {
    const TitleLayout layout = LayOutTitle(text, *drawing.fonts);
    if (drawing.cache.Size() + layout.glyphs.size() > kMaxCachedGlyphs) drawing.cache.Clear();
    DeleteTitleList(drawing);
    if (!kCompileTitleList) drawing.layout = layout;
    drawing.list = kCompileTitleList ? glGenLists(1) : 0;
    if (drawing.list != 0) {
        glNewList(drawing.list, GL_COMPILE);
        CompileTitle(drawing, layout);
        glEndList();
        SealCompiledLists();
    }
    drawing.laidOutText.assign(text);
    drawing.laidOut = true;
    ReturnFreedMemory();  // the outlines, their tessellation and the old list are gone
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

// The zoom steps while within its start and end and turns (or starts
// again) a little short of them.
ValueRun ZoomRun() {
    const auto start = static_cast<float>(scene.textZoomStart);
    return {.step = scene.textLoopStep * kLoopStepScale,
            .forwardUpTo = scene.textZoomEnd,
            .endAt = scene.textZoomEnd - kEndTolerance,
            .backDownTo = start,
            .startAt = scene.textZoomStart + kEndTolerance,
            .restart = start};
}

struct BounceHeading {
    bool Forwards() const { return scene.textBounceDir == kForward; }
    bool Back() const { return scene.textBounceDir == kBack; }
    void TurnBack() { scene.textBounceDir = kBack; }
    void TurnForwards() { scene.textBounceDir = kForward; }
};

void LoopStep() { AdvanceLoop(scene.textPosZ, ZoomRun()); }
void BounceStep() { AdvanceBounce(scene.textPosZ, BounceHeading{}, ZoomRun()); }

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
    // Only says that glyphs are ready; the list is the title's own.
    scene.textListBase = 1;
    LayOut(drawing, scene.titleText.view());
}

void DeleteTextFont() {
    TitleDrawing& drawing = Drawing();
    DeleteTitleList(drawing);
    drawing.cache.Clear();
    drawing.fonts.reset();
    scene.textListBase = 0;
}

void DrawTitle() {
    TitleDrawing& drawing = Drawing();
    if (!drawing.fonts) return;
    const std::string_view title = scene.titleText.view();
    if (!drawing.laidOut || title != drawing.laidOutText) LayOut(drawing, title);
    if (drawing.list != 0) glCallList(drawing.list);
    if (!kCompileTitleList) CompileTitle(drawing, drawing.layout);
}

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
