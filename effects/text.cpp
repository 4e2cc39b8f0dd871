#include "effects/text.h"

#include <GL/gl.h>

#include <cstring>

#include "effects/glyph_builder.h"
#include "effects/value_runs.h"
#include "imaging/textures.h"
#include "platform/platform.h"
#include "platform/steady_memory.h"
#include "scene/gl_setup.h"
#include "scene/scene_state.h"

namespace quorbel {

std::array<GlyphMetrics, 256> textGlyphMetrics;

namespace {

constexpr const char* kDefaultFace = "Arial Black";
constexpr GLsizei kReservedLists = 256;
constexpr std::size_t kMaxTextLength = 255;
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

void CompileGlyphLists(const ExtrusionOptions& options) {
    DeleteTextFont();
    GLuint base = glGenLists(kReservedLists);
    scene.textListBase = base;
    if (base == 0) {
        // No list names to be had: draw nothing rather than someone else's lists.
        textGlyphMetrics.fill(GlyphMetrics{});
        return;
    }
    FontRequest request{scene.textFontFace.c_str(), scene.textFontWeight, scene.textFontItalic != 0};
    BuildGlyphLists(request, base, options, textGlyphMetrics);
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
    CompileGlyphLists(options);
    ReturnFreedMemory();  // the outlines and their tessellation are gone
}

void DeleteTextFont() {
    if (scene.textListBase == 0) return;
    glDeleteLists(scene.textListBase, kReservedLists);
    scene.textListBase = 0;
}

float TextWidth(const char* text) {
    if (!text) return 0.0f;
    float width = 0.0f;
    for (std::size_t i = 0; i < kMaxTextLength && text[i] != '\0'; ++i)
        width += textGlyphMetrics[static_cast<unsigned char>(text[i])].cellIncX;
    return width;
}

void PrintText(const char* text) {
    if (!text) return;
    const std::size_t length = strnlen(text, kMaxTextLength);
    glTranslatef(-0.5f * TextWidth(text), 0.0f, 0.0f);
    if (scene.textListBase == 0 || length == 0) return;
    glPushAttrib(GL_LIST_BIT);
    glListBase(scene.textListBase);
    glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
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

void DrawTitle() { PrintText(scene.titleText.c_str()); }

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
