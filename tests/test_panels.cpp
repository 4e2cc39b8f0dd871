// The control panels' own rules: every reset button as one table, cancelled
// texture choosers, then the edge cases that pin what the boxes, buttons and
// first exchange of each panel do, and the panels that Open makes again.
#include "commands/command_ids.h"
#include "commands/documents.h"
#include "commands/panel_wiring.h"
#include "effects/particles.h"
#include "effects/text.h"
#include "panel_test_helpers.h"

namespace quorbel {
namespace {

class Panels : public testing::PanelTest {};

TEST_F(Panels, EachResetSetsItsDefaultsAndLeavesTheRest) {
    using Positions = std::vector<std::pair<int, int>>;  // slider, position
    using Fields = std::vector<std::pair<const char*, double>>;
    const struct {
        PanelKind kind;
        Positions moves;          // before the reset
        std::vector<int> clicks;  // before the reset
        std::vector<std::pair<const char*, const char*>> before;  // set before the reset
        int reset;
        Fields after;
        Positions sliders;  // after, on the newest panel
        std::size_t panels;
    } rows[] = {
        {PanelKind::Tiles, {{1079, 30}, {1076, 60}}, {1112, 1115, 1117}, {{"tile1Angle", "40"}, {"tile1CustomTex", "2"}},
         1123,
         {{"tilePanOn", 0}, {"tile1Shown", 2}, {"tile1ShownSaved", 2}, {"tile1RotDir", 0}, {"tile1PanVSaved", 0},
          {"tile1PanV", 2}, {"tile1Zoom", 0}, {"tile1CustomTex", 0}},
         {{1079, 100}}, 1},
        {PanelKind::Fire, {{1077, 80}, {1124, 80}, {1126, 80}, {1134, 80}, {1142, 80}}, {1137},
         {{"fireX", "1"}, {"fireWobbleTimeX", "3"}}, 1010,
         {{"fireSizeTop", 0.011f}, {"fireLife", 5}, {"fireDirY", 5}, {"fireGreen", 30}, {"fireRedSaved", 0},
          {"fireSizeBottomSaved", 0}, {"fireStretchLeftSaved", 0}, {"fireColourRotate", 0}, {"fireX", 0}},
         {{1124, 50}}, 1},
        {PanelKind::Blur, {{1077, 60}, {1079, 60}, {1153, 60}, {1178, 60}, {1182, 60}}, {1165, 1171}, {}, 1169,
         {{"blurActive", 0}, {"motionBlurOn", 0}, {"motionText", 0}, {"blurSeparationLoop", 0}, {"blurSeparation", 0},
          {"blurFadeAlpha", 100}, {"blurFadeAlphaSaved", 100}, {"blurBackRedSaved", 0}, {"blurBackRed", 30},
          {"blurDensity", 120}, {"blurLayerRed", 255}},
         {}, 1},
        {PanelKind::Particles, {{1038, 90}}, {1073, 1072, 1093}, {{"particleX", "2"}}, 1010,
         {{"gravityY", 0}, {"amplitudeLoop", 0}, {"particleRotate90", 1}, {"zoomStart", -100}},
         {{1044, 100}, {1038, 45}}, 2},
        {PanelKind::Stars, {{1085, 70}, {1086, 33}, {1096, 80}}, {1100}, {}, 1105,
         {{"starSpin", 2}, {"starFieldZ", -30}, {"starSpacing", 33}}, {{1085, 0}, {1096, 80}}, 1},
        {PanelKind::Tunnel, {{1107, 80}, {1076, 90}}, {1009}, {}, 1080,
         {{"tunnelSpeed", 1}, {"tunnelDepth", 0}, {"tunnelZoomDir", 0}}, {{1076, 50}, {1079, 50}, {1107, 80}}, 1},
        {PanelKind::Text, {{1026, 40}}, {1022}, {{"textPosX", "1.5"}, {"textPosY", "-0.5"}}, 1010,  // the pan reset
         {{"textPosX", 0}, {"textPanRightPresses", 0}, {"textPanRightSpeed", 0}, {"textPanH", 4}}, {{1026, 0}}, 1},
        {PanelKind::Text, {{1014, 90}}, {1008, 1009, 1061}, {{"textAngleY", "33"}, {"textMouseZoom", "3"}}, 1088,
         {{"textSpinY", 0}, {"textWhiteRequest", 2}, {"textPosZ", -15}}, {{1014, 50}}, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.reset);
        DiscardAllPanels();
        PanelModel& panel = CreatePanel(row.kind);
        for (auto [id, position] : row.moves) panel.MoveSlider(id, position);
        for (int id : row.clicks) panel.Click(id);
        for (auto [name, value] : row.before) ASSERT_FALSE(SetSceneField(scene, name, value)) << name;
        panel.Click(row.reset);
        for (auto [name, value] : row.after) EXPECT_FLOAT_EQ(testing::Field(name), value) << name;
        ASSERT_EQ(PanelCount(row.kind), row.panels);
        PanelModel& newest = *LatestPanel(row.kind);
        EXPECT_TRUE(newest.Visible());
        for (auto [id, position] : row.sliders) EXPECT_EQ(newest.SliderPosition(id), position) << id;
    }
}

// A cancelled texture chooser: the tiles keep using their slot; the tunnel
// keeps a texture in use and falls back when none was.
TEST_F(Panels, CancelledTextureChoosersKeepATextureInUse) {
    scene.tile1TexFallback = 2;
    CreatePanel(PanelKind::Tiles).Click(1010);
    EXPECT_EQ(scene.tile1CustomTex, 2);
    EXPECT_EQ(scene.tile1TexFallback, 0);
    PanelModel& tunnel = CreatePanel(PanelKind::Tunnel);
    scene.tunnelCustomTex = 2;
    tunnel.Click(1010);
    EXPECT_EQ(scene.tunnelTexFallback, 0);
    scene.tunnelCustomTex = 0;
    tunnel.Click(1010);
    EXPECT_EQ(scene.tunnelTexFallback, 2);
    EXPECT_EQ(scene.tunnelCustomTex, 2);
}

// ----- Open --------------------------------------------------------------------

// A saved scene's used marks bring its panels back, and their first
// exchange brings the saved copies into effect.
TEST_F(Panels, OpenMakesThePanelsOfTheUsedEffects) {
    testing::TempDirectory folder;
    InstallControlPanels();
    scene.particlesUsed = scene.starsUsed = scene.tunnelUsed = scene.fireUsed = 2;
    scene.textUsed = scene.tilesUsed = scene.blurUsed = 0;
    scene.starSpeedPos = 9, scene.fireDirYSaved = 12;
    ASSERT_TRUE(SaveSettingsFile("scene.qrl"));
    scene.starSpeed = scene.fireDirY = 0.0f;
    scene.particlesShown = scene.tunnelShown = scene.fireShown = 0;
    scene.textPanelOpen = scene.tunnelPanelPresses = 1;
    ASSERT_TRUE(OpenSettingsFile("scene.qrl"));
    EXPECT_EQ(PanelCount(PanelKind::Text), 0u);
    EXPECT_EQ(PanelCount(PanelKind::Tiles), 0u);
    EXPECT_EQ(PanelCount(PanelKind::Blur), 0u);
    ASSERT_EQ(PanelCount(PanelKind::Particles), 1u);
    EXPECT_FALSE(LatestPanel(PanelKind::Particles)->Visible());
    EXPECT_TRUE(platform_->menuChecks[command::kShowHideParticles]);
    EXPECT_FALSE(LatestPanel(PanelKind::Stars)->Visible());
    EXPECT_EQ(scene.starSpeed, 9.0f) << "the star panel took the loaded copies";
    EXPECT_FALSE(LatestPanel(PanelKind::Tunnel)->Visible());
    EXPECT_TRUE(LatestPanel(PanelKind::Fire)->Visible());
    EXPECT_EQ(scene.fireDirY, 12.0f);
    RemoveControlPanels();
}

// ----- particles ---------------------------------------------------------------

// A settings load arms the zoom sliders' restoring; without it a new panel
// leaves them at 0.
TEST_F(Panels, ParticleZoomLimitsComeBackOnlyWhenArmed) {
    scene.zoomStartSaved = -30, scene.zoomFinishSaved = -10, scene.particleRotate90 = 2;
    PanelModel& unarmed = CreatePanel(PanelKind::Particles);
    EXPECT_EQ(unarmed.SliderPosition(1045), 0);
    EXPECT_TRUE(unarmed.IsChecked(1093));
    EXPECT_EQ(scene.zoomStartSaved, -100.0f) << "read back from the slider left at 0";
    scene.zoomStartSaved = -30, scene.zoomFinishSaved = -10, scene.particleZoomRestore = 2;
    PanelModel& armed = CreatePanel(PanelKind::Particles);
    EXPECT_EQ(armed.SliderPosition(1045), 70);
    EXPECT_EQ(armed.SliderPosition(1046), 90);
    EXPECT_EQ(TheParticleSystem().zoom, 10.0f);
    EXPECT_TRUE(TheParticleSystem().verticalRing);
}

// ----- tunnel ------------------------------------------------------------------

TEST_F(Panels, TunnelWarpGrowsBy15PerPanelInTheFirstMode) {
    scene.tunnelWarpAPos = 30;
    const int expected[] = {45, 60, 65, 65};
    for (int warp : expected) {
        CreatePanel(PanelKind::Tunnel);
        EXPECT_EQ(scene.tunnelWarpA, warp);
        EXPECT_EQ(scene.tunnelWarpAPos, warp);
    }
    scene.tunnelTexMode = 2, scene.tunnelWarpBPos = 10;
    CreatePanel(PanelKind::Tunnel);
    EXPECT_EQ(scene.tunnelWarpB, 10.0f) << "the second mode reads back what it showed";
}

TEST_F(Panels, TunnelZoomBoxesShowTheSavedDirection) {
    scene.tunnelZoomDirSaved = 4;
    PanelModel& out = CreatePanel(PanelKind::Tunnel);
    EXPECT_TRUE(out.IsChecked(1009));
    EXPECT_FALSE(out.IsChecked(1106));
    scene.tunnelZoomDirSaved = 2;
    EXPECT_TRUE(CreatePanel(PanelKind::Tunnel).IsChecked(1106));
}

TEST_F(Panels, TunnelZoomSliderIsIgnoredWhileZooming) {
    PanelModel& panel = CreatePanel(PanelKind::Tunnel);
    panel.Click(1106);
    scene.tunnelDepth = -7.5f;
    panel.MoveSlider(1107, 90);
    EXPECT_EQ(scene.tunnelDepth, -7.5f);
    EXPECT_EQ(scene.tunnelDepthPos, -7);
    panel.Click(1106);
    panel.MoveSlider(1107, 90);
    EXPECT_EQ(scene.tunnelDepth, 40.0f);
}

// ----- text --------------------------------------------------------------------

enum Id {
    kTitle = 1002, kChangeFont = 1081, kTextured = 1062, kLoadTexture = 1066, kStart = 1076, kEnd = 1077,
    kPanLeftSpeed = 1025, kDepth = 1000,
};

PanelModel& TextPanel() { return CreatePanel(PanelKind::Text); }

TEST_F(Panels, AnySliderPutsTheTextAtTheStartOfTheZoomRange) {
    PanelModel& panel = TextPanel();
    panel.MoveSlider(kStart, 40);
    scene.textPosZ = -3.0f;  // the zoom has moved it since
    panel.MoveSlider(kPanLeftSpeed, 10);
    EXPECT_EQ(scene.textPosZ, -25.0f);
    // A right drag in the view widens the range by the mouse zoom.
    scene.textMouseZoomUsed = 2, scene.textMouseZoom = 4.5f;
    panel.MoveSlider(kEnd, 60);
    EXPECT_EQ(scene.textPosZ, -20.5f);
    EXPECT_EQ(scene.textZoomStart, -20);
    EXPECT_EQ(scene.textZoomEnd, -9.5f);
    EXPECT_EQ(scene.textZoomStartSaved, -5);
    EXPECT_EQ(scene.textZoomEndSaved, 60);
}

TEST_F(Panels, FieldsShowTheTitleAndTheDepthAndTakeWhatIsTyped) {
    scene.titleText.Assign("Hello");
    PanelModel& panel = TextPanel();
    EXPECT_EQ(panel.FieldText(kTitle), "Hello");
    EXPECT_EQ(panel.FieldText(kDepth), "20");
    EXPECT_FLOAT_EQ(scene.textDepth, 2.0f);
    panel.ChangeText(kTitle, "A new title");
    EXPECT_EQ(scene.titleText.view(), "A new title");
    // Any Unicode, line breaks kept and other controls dropped; a text longer
    // than a title holds is refused whole and the box shows the title again.
    const std::string longest = "\u6771\n" + std::string(253, 'x');
    for (auto [typed, title] : {std::pair<std::string, std::string>{"\u0645\u0631\n\tT", "\u0645\u0631\nT"},
                                {longest, longest}, {longest + "y", longest}}) {
        panel.ChangeText(kTitle, typed);
        EXPECT_EQ(scene.titleText.view(), title);
        EXPECT_EQ(panel.FieldText(kTitle), title);
    }
    panel.ChangeText(kDepth, "35");
    EXPECT_FLOAT_EQ(scene.textDepth, 3.5f);
    EXPECT_EQ(scene.textDepthSet, 2);
    EXPECT_EQ(TextPanel().FieldText(kDepth), "35") << "a typed depth stays with the next panel";
}

// Cancelled choosers: the texture keeps its slot, the glyphs are rebuilt
// with the font the text had.
TEST_F(Panels, LoadTextureAndFontAnswerTheirChoosers) {
    PanelModel& panel = TextPanel();
    panel.Click(kLoadTexture);
    EXPECT_EQ(scene.textTextured, 2);
    EXPECT_EQ(scene.textTexGenMode, 4);
    EXPECT_EQ(scene.textStyleMarked, 2);
    panel.Click(kTextured);
    panel.Click(kLoadTexture);
    EXPECT_EQ(scene.textTexGenMode, 2) << "with the textured style the texture is laid on flat";

    panel.Click(kChangeFont);
    EXPECT_EQ(scene.textFontFace.view(), "Arial Black");
    EXPECT_NE(scene.textListBase, 0u);
    platform_->fontAnswers.push_back(FontChoice{"DejaVu Serif", 700, true});
    panel.Click(kChangeFont);
    EXPECT_EQ(scene.textFontFace.view(), "DejaVu Serif");
    EXPECT_EQ(scene.textFontWeight, 700);
    EXPECT_EQ(scene.textFontItalic, 1);
    EXPECT_NE(scene.textListBase, 0u);
}

}  // namespace
}  // namespace quorbel
