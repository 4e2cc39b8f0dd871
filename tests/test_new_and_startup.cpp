// New brings every effect back to its built-in values, and the first frame
// reads "settings.qrl" through the settings record.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>

#include "commands/documents.h"
#include "scene/frame_driver.h"
#include "scene/scene_state.h"
#include "settings/settings_record.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

struct NamedValue {
    const char* name;
    double value;
};

// The values New leaves, as the effects name their parameters; everything
// in the second table becomes 0.
const NamedValue kNonZero[] = {
    {"textWhiteRequest", 2}, {"textWireframe", 1}, {"textTexGenMode", 4}, {"textFontFaceSet", 2},
    {"particlePanelInitDone", 2}, {"particleRotate90", 1}, {"starZoomSlidersSet", 2}, {"starSpin", 2},
    {"starFieldZ", -45}, {"tunnelTwist", 1}, {"tunnelWarpB", 1}, {"tunnelWarpA", 30}, {"tunnelSpeed", 1},
    {"tile1ShownSaved", 2}, {"tile2ShownSaved", 2}, {"tile1TransparentSaved", 2}, {"tile2TransparentSaved", 2},
    {"tile1Shown", 2}, {"tile2Shown", 2}, {"tile1Transparent", 2}, {"tile2Transparent", 2},
    {"textToggleCount", 1}, {"particleCount", 2000}, {"particleSpacingPos", 100}, {"starsHidden", 2},
    {"textDepth", 2}, {"fireSizeTop", 0.011}, {"fireSizeBottom", 0.015}, {"fireDirX", 0.01}, {"fireDirZ", 0.01},
    {"fireEmitX", 0.2}, {"fireEmitY", 0.2}, {"fireDirY", 2.01}, {"fireLife", 5}, {"textPosZ", -15},
    {"blurFadeAlphaSaved", 100}, {"blurLayerRed", 255}, {"blurLayerGreen", 255}, {"blurLayerBlue", 255},
};
const char* const kZero[] = {
    "randomColourPresses", "particleColourCycle", "starPanelOpen", "starPanelPresses", "tunnelPanelOpen",
    "tunnelPanelPresses", "textBounceDir", "textZoomCycle", "textLoopStepSaved", "textZoomStartSaved",
    "textZoomEndSaved", "textStyleMarked", "textGlassMarked", "textTexturedMarked", "textPosX", "textPosY",
    "textReserved1", "textReserved2", "textReserved3", "textLoopPresses", "textBouncePresses",
    "textSpinYChecked", "textSpinXChecked", "textSpinZChecked", "textZoomInChecked", "textZoomOutChecked",
    "textPanLeftChecked", "textPanRightChecked", "textPanUpChecked", "textPanDownChecked", "textSingleColour",
    "textColourMode", "textColour", "textSpinX", "textZoomDir", "textSpinZ", "textSpinY", "textAngleX",
    "textAngleY", "textAngleZ", "textGlass", "textGlassReflect", "textSpinSpeedYSaved", "textSpinSpeedXSaved",
    "textSpinSpeedZSaved", "textZoomSpeedSaved", "textPanLeftSpeedSaved", "textPanRightSpeedSaved",
    "textPanUpSpeedSaved", "textPanDownSpeedSaved", "textSpinSpeedY", "textSpinSpeedX", "textSpinSpeedZ",
    "textZoomSpeed", "textPanLeftSpeed", "textPanRightSpeed", "textPanUpSpeed", "textPanDownSpeed",
    "textPanDownPresses", "textPanUpPresses", "textPanRightPresses", "textPanLeftPresses", "textZoomInPresses",
    "textZoomOutPresses", "textSpinZPresses", "textSpinXPresses", "textSpinYPresses", "particleY", "particleX",
    "colourizerPos1", "colourizerPos2", "colourizerPos3", "colourOffsetR", "colourOffsetG", "colourOffsetB",
    "particleZoomRestore", "particleSpeedPos", "amplitudeRisingSaved", "zoomBounceSaved", "zoomRisingSaved",
    "gravityY", "gravityX", "gravityZ", "amplitudeStart", "amplitudeFinish", "amplitudeSpeed", "zoomStart",
    "zoomFinish", "zoomSpeed", "particleSpeed", "amplitudeLoop", "amplitudeBounce", "amplitudeRising",
    "zoomRising", "zoomLoop", "amplitudeStartPos", "amplitudeFinishPos", "amplitudeSpeedPos", "zoomStartSaved",
    "zoomFinishSaved", "zoomSpeedSaved", "particleRandomColour", "amplitudeLoopSaved", "amplitudeBounceSaved",
    "zoomBounce", "zoomLoopSaved", "starTiltDir", "starTiltSpeed", "starCustomTex", "starFieldTilt", "starRoll",
    "starFieldX", "starFieldY", "starTiltFwdPresses", "starTiltBackPresses", "starZoomStart", "starZoomFinish",
    "starZoomLoop", "starZoomBounce", "starZoomBounceDir", "starLoopPresses", "starBouncePresses",
    "starZoomSpeed", "starPanX", "starPanY", "starPanLeftSpeed", "starPanRightSpeed", "starPanUpSpeed",
    "starPanDownSpeed", "starPanLeftPresses", "starPanRightPresses", "starPanUpPresses", "starPanDownPresses",
    "starTiltSpeedPos", "starTiltSaved", "starSpacingPos", "starSpeedPos", "starPanLeftSpeedPos",
    "starPanRightSpeedPos", "starPanUpSpeedPos", "starPanDownSpeedPos", "starZoomStartSaved",
    "starZoomFinishSaved", "starZoomSpeedPos", "starTiltDirSaved", "starRotateLeftSaved",
    "starRotateRightSaved", "starPanXSaved", "starPanYSaved", "starLoopSaved", "starBounceSaved", "starSpeed",
    "tunnelTexMode", "tunnelZoomDir", "tunnelDepth", "tunnelColourOn", "tunnelZoomSpeed", "tunnelZoomSpeedPos",
    "tunnelZoomInPresses", "tunnelZoomOutPresses", "tunnelTwistPos", "tunnelSpeedPos", "tunnelWarpAPos",
    "tunnelWarpBPos", "tunnelZoomDirSaved", "tilePanOn", "tile1RotDir", "tile2RotDir", "tile1PanVSaved",
    "tile1PanUSaved", "tile1RotSpeedSaved", "tile2RotSpeedSaved", "tile1PanUpSpeedSaved",
    "tile1PanDownSpeedSaved", "tile1PanRightSpeedSaved", "tile1PanLeftSpeedSaved", "tile1RotSpeed",
    "tile2RotSpeed", "tile1PanUpSpeed", "tile1PanDownSpeed", "tile1PanRightSpeed", "tile1PanLeftSpeed",
    "tile2PanVSaved", "tile2PanUSaved", "tile2PanUpSpeedSaved", "tile2PanDownSpeedSaved",
    "tile2PanRightSpeedSaved", "tile2PanLeftSpeedSaved", "tile2PanUpSpeed", "tile2PanDownSpeed",
    "tile2PanRightSpeed", "tile2PanLeftSpeed", "tile1ZoomSaved", "tile2ZoomSaved", "tile1Zoom", "tile2Zoom",
    "tile1CustomTex", "tile2CustomTex", "particlePanelPresses", "particlePanelOpen", "textHidden", "tilesShown",
    "paused", "tunnelRebuildPending", "tunnelShown", "particlesShown", "textPanelOpen", "textPanelPresses",
    "textDepthSet", "textOutlinesBuilt", "textMouseZoom", "tilePanelOpen", "tilePanelPresses", "tile2Angle",
    "tile1Angle", "fireStretchLeft", "fireStretchRight", "fireStretchUp", "fireStretchDown", "fireWobbleFreqX",
    "fireWobbleFreqY", "fireWobbleTimeX", "fireWobbleTimeY", "fireSizeTopSaved", "fireSizeBottomSaved",
    "fireDirXSaved", "fireDirYSaved", "fireDirZSaved", "fireStretchLeftSaved", "fireStretchRightSaved",
    "fireStretchUpSaved", "fireStretchDownSaved", "fireWobbleFreqXSaved", "fireWobbleFreqYSaved",
    "fireLifeSaved", "fireX", "fireY", "fireRedSaved", "fireGreenSaved", "fireBlueSaved", "firePanelSpare",
    "fireShown", "fireZoomSaved", "fireZoom", "tunnelToggleCount", "tilesToggleCount", "particlesToggleCount",
    "fireToggleCount", "firePanelPresses", "firePanelOpen", "fireColourRotate", "fireRotatePresses",
    "fireRotateSpeed", "fireRotateSpeedSaved", "textUsed", "starsUsed", "tunnelUsed", "particlesUsed",
    "tilesUsed", "fireUsed", "blurUsed", "motionBlurSelected", "radialBlurOn", "motionBlurOn", "motionTiles",
    "motionText", "motionParticles", "motionStar", "motionTextPresses", "motionParticlesPresses",
    "motionStarPresses", "motionTilesPresses", "blurSeparation", "blurSeparationSaved", "blurFadeAlpha",
    "blurRate", "blurRateSaved", "extrudeLeft", "extrudeLeftSaved", "extrudeRight", "extrudeRightSaved",
    "extrudeDown", "extrudeDownSaved", "extrudeUp", "extrudeUpSaved", "motionButtonPresses",
    "radialButtonPresses", "blurPanelOpen", "blurPanelPresses", "blurLoopPresses", "blurBouncePresses",
    "blurSeparationLoop", "blurSeparationBounce", "blurSeparationFinishSaved", "blurSeparationFinish",
    "blurSeparationSpeedSaved", "blurSeparationSpeed", "blurSeparationFalling", "radialText", "radialParticles",
    "radialStar", "radialFire", "radialTextPresses", "radialParticlesPresses", "radialStarPresses",
    "radialFirePresses", "starsToggleCount", "blurActive", "blurBackRedSaved", "blurBackGreenSaved",
    "blurBackBlueSaved", "amplitudeLoopPresses", "amplitudeBouncePresses", "textTextured", "textUserTexture",
    "textTexturedStyle", "tunnelCustomTex",
};

double NumberOf(const char* name) {
    auto text = GetSceneField(scene, name);
    EXPECT_TRUE(text) << name;
    return text ? std::stod(*text) : -1.0;
}

class NewSettings : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(engine_ = testing::FreshScene()); }
    HeadlessEngine* engine_ = nullptr;
};

TEST_F(NewSettings, EveryListedParameterTakesItsValueAndTheRestKeepTheirs) {
    for (const NamedValue& v : kNonZero) ASSERT_FALSE(SetSceneField(scene, v.name, "7")) << v.name;
    for (const char* name : kZero) ASSERT_FALSE(SetSceneField(scene, name, "7")) << name;
    const NamedValue kept[] = {{"textPanH", 4}, {"textFontWeight", 700}, {"zoomLoopPresses", 1},
                               {"particleSlidersUsed", 2}, {"textRed", 0.5}, {"tunnelRed", 0.25}};
    for (const NamedValue& v : kept) {
        std::string text = std::to_string(v.value);
        if (v.value == static_cast<int>(v.value)) text = std::to_string(static_cast<int>(v.value));
        ASSERT_FALSE(SetSceneField(scene, v.name, text)) << v.name;
    }
    ResetToDefaults();
    for (const NamedValue& v : kNonZero)
        EXPECT_FLOAT_EQ(static_cast<float>(NumberOf(v.name)), static_cast<float>(v.value)) << v.name;
    for (const char* name : kZero) EXPECT_EQ(NumberOf(name), 0.0) << name;
    for (const NamedValue& v : kept)
        EXPECT_FLOAT_EQ(static_cast<float>(NumberOf(v.name)), static_cast<float>(v.value)) << v.name << " keeps";
    EXPECT_EQ(scene.textFontFace.view(), "Arial Black");
}

TEST_F(NewSettings, AfterNewOnlyTheTitleShowsStandingStillInWhite) {
    for (const char* set : {"tunnelShown=2", "starsHidden=0", "particlesShown=2", "fireShown=2", "tilesShown=2",
                            "textHidden=2", "textSpinY=2", "textSpinSpeedY=5", "radialBlurOn=2", "blurActive=2",
                            "paused=2", "textRed=0.2"}) {
        const std::string text(set);
        const auto eq = text.find('=');
        ASSERT_FALSE(SetSceneField(scene, text.substr(0, eq), text.substr(eq + 1))) << set;
    }
    ResetToDefaults();
    EXPECT_NE(scene.textListBase, 0u) << "the glyphs were rebuilt";
    engine_->RenderFrames(1);
    const auto first = engine_->ReadPixels();
    engine_->RenderFrames(1);
    EXPECT_EQ(engine_->ReadPixels(), first) << "nothing moves after New";
    EXPECT_GT(testing::CountLitPixels(first), 500) << "the title is drawn";
    EXPECT_EQ(scene.textRed, 255.0f) << "the white request was taken at the first draw";
}

// Names up to twice the next one handed out, so names reused or not are covered.
template <typename IsName>
int LiveNames(IsName isName, GLuint next) {
    int live = 0;
    for (GLuint name = 1; name < 2 * next + 64; ++name) live += isName(name) ? 1 : 0;
    return live;
}

std::pair<int, int> LiveTexturesAndLists() {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glDeleteTextures(1, &texture);
    const GLuint list = glGenLists(1);
    glDeleteLists(list, 1);
    return {LiveNames([](GLuint n) { return glIsTexture(n) == GL_TRUE; }, texture),
            LiveNames([](GLuint n) { return glIsList(n) == GL_TRUE; }, list)};
}

// New, chosen again and again in a long session, must not pile up textures
// or glyph lists.
TEST_F(NewSettings, RepeatedNewKeepsTheNumberOfTexturesAndLists) {
    ResetToDefaults();
    engine_->RenderFrames(2);
    const auto before = LiveTexturesAndLists();
    for (int i = 0; i < 3; ++i) {
        ResetToDefaults();
        engine_->RenderFrames(2);
    }
    EXPECT_EQ(LiveTexturesAndLists(), before) << "(textures, display lists)";
}

TEST(StartupRead, FirstFrameLoadsTheRecordButNotTheTitle) {
    ASSERT_TRUE(testing::FreshScene());
    testing::TempDirectory folder;
    testing::LinkDefaultPictures();
    ForgetSettingsBuffers();
    SceneState saved;
    saved.particleCount = 777;
    saved.clearBlue = 0.5f;
    saved.starsToggleCount = 1;
    const SettingsBytes record = StoreSettingsRecord(saved);
    std::ofstream("settings.qrl", std::ios::binary).write(reinterpret_cast<const char*>(record.data()), record.size());
    std::ofstream("Text.TXT") << "Not at start-up";
    const std::uint32_t particleTexture = scene.particleTexture;
    InstallStartupSettingsSteps();
    ResetOpenFailureReport();
    EXPECT_EQ(RenderFrame(), 1);
    FrameDriverStartupSteps() = {};
    EXPECT_EQ(scene.startupStage, 2);
    EXPECT_EQ(scene.particleCount, 777);
    EXPECT_EQ(scene.clearBlue, 0.5f);
    EXPECT_EQ(scene.starsToggleCount, 1);
    EXPECT_EQ(scene.titleText.view(), "Quorbel");
    EXPECT_NE(scene.particleTexture, particleTexture) << "the particle texture was loaded again";
    EXPECT_EQ(scene.particlesShown, 0);
}

}  // namespace
}  // namespace quorbel
