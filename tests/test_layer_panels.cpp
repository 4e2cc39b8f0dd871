// The tile, fire and blur panels, and the panels that Open makes again.
#include "panel_test_helpers.h"
#include "commands/command_ids.h"
#include "commands/documents.h"
#include "commands/panel_wiring.h"

namespace quorbel {
namespace {

class LayerPanels : public testing::PanelTest {};

// ----- tiles -------------------------------------------------------------------

TEST_F(LayerPanels, AnyTileSliderEndsTheDriftOfBothLayers) {
    PanelModel& panel = CreatePanel(PanelKind::Tiles);
    ASSERT_EQ(scene.tilePanOn, 0);
    panel.MoveSlider(1045, 20);  // a slider of "Texture Two"
    EXPECT_EQ(scene.tilePanOn, 2);
    EXPECT_EQ(scene.tile2PanLeftSpeed, 20.0f);
    EXPECT_EQ(scene.tilesUsed, 2);
}

TEST_F(LayerPanels, TileSwitchesStartOnSoTheFirstPressSwitchesOff) {
    scene.tile1ShownSaved = 2, scene.tile2ShownSaved = 0, scene.tile2Shown = 2;
    PanelModel& panel = CreatePanel(PanelKind::Tiles);
    EXPECT_TRUE(panel.IsChecked(1112));
    EXPECT_FALSE(panel.IsChecked(1114));
    EXPECT_EQ(scene.tile2Shown, 0) << "the live switch follows its loaded copy";
    panel.Click(1112);
    EXPECT_EQ(scene.tile1Shown, 0);
    EXPECT_EQ(scene.tile1ShownSaved, 0);
    EXPECT_FALSE(panel.IsChecked(1112));
    panel.Click(1112);
    EXPECT_EQ(scene.tile1Shown, 2);
    EXPECT_TRUE(panel.IsChecked(1112));
}

TEST_F(LayerPanels, TilePanBoxesOfLayerOneEndTheDriftLayerTwosDoNot) {
    PanelModel& panel = CreatePanel(PanelKind::Tiles);
    panel.Click(1040);
    EXPECT_EQ(scene.tile2PanU, 2);
    EXPECT_EQ(scene.tile2PanUSaved, 2);
    EXPECT_EQ(scene.tilePanOn, 0);
    panel.Click(1118);
    EXPECT_EQ(scene.tile1PanV, 4);
    EXPECT_EQ(scene.tilePanOn, 2);
    panel.Click(1116);
    EXPECT_EQ(scene.tile1RotDir, 4);
}

// Every tint button switches its tint on, chosen or cancelled; only a
// chosen colour replaces the one there was.
TEST_F(LayerPanels, TintButtonsSwitchTheTintOnAndCancellingKeepsTheColour) {
    const struct {
        PanelKind kind;
        int id;
        std::int32_t SceneState::*on;
        std::uint32_t SceneState::*colour;
    } buttons[] = {{PanelKind::Tiles, 1080, &SceneState::tile1TintOn, &SceneState::tile1Tint},
                   {PanelKind::Tiles, 1111, &SceneState::tile2TintOn, &SceneState::tile2Tint},
                   {PanelKind::Tunnel, 1078, &SceneState::tunnelColourOn, &SceneState::tunnelColour}};
    for (const auto& button : buttons) {
        SCOPED_TRACE(button.id);
        PanelModel& panel = CreatePanel(button.kind);
        scene.*button.on = 0, scene.*button.colour = 0x123456u;
        panel.Click(button.id);
        EXPECT_EQ(scene.*button.on, 2);
        EXPECT_EQ(scene.*button.colour, 0x123456u);
        platform_->colourAnswers.push_back(0x00FF00u);
        panel.Click(button.id);
        EXPECT_EQ(scene.*button.colour, 0x00FF00u);
    }
}

// ----- fire --------------------------------------------------------------------

TEST_F(LayerPanels, AReopenedFirePanelShowsEverySliderWhereItWas) {
    PanelModel& first = CreatePanel(PanelKind::Fire);
    const int positions[][2] = {{1077, 10}, {1124, 90}, {1127, 33}, {1140, 71}, {1132, 5}, {1134, 64}, {1136, 99}};
    for (auto [id, position] : positions) first.MoveSlider(id, position);
    first.PressCloseBox();
    PanelModel& second = CreatePanel(PanelKind::Fire);
    for (auto [id, position] : positions) EXPECT_EQ(second.SliderPosition(id), position) << id;
}

// ----- blur --------------------------------------------------------------------

TEST_F(LayerPanels, RadialSourcesSwitchTheRadialBlur) {
    PanelModel& panel = CreatePanel(PanelKind::Blur);
    panel.Click(1175);
    EXPECT_EQ(scene.radialParticles, 2);
    EXPECT_EQ(scene.radialBlurOn, 2);
    EXPECT_EQ(scene.blurActive, 2);
    panel.Click(1175);
    EXPECT_EQ(scene.radialParticles, 0);
    EXPECT_EQ(scene.radialBlurOn, 2) << "the radial blur stays on with no particles in it";
    panel.Click(1175);
    EXPECT_EQ(scene.radialParticles, 2);
    panel.Click(1174);
    panel.Click(1176);
    panel.Click(1174);  // text off: the whole radial blur goes
    EXPECT_EQ(scene.radialBlurOn, 0);
    EXPECT_EQ(scene.blurActive, 0);
    EXPECT_EQ(scene.radialStar, 2);
    EXPECT_TRUE(panel.IsChecked(1176));
}

TEST_F(LayerPanels, MotionSourceEndsTheRadialBlur) {
    PanelModel& panel = CreatePanel(PanelKind::Blur);
    panel.Click(1174);
    panel.Click(1177);
    panel.Click(1161);  // motion "Star"
    EXPECT_EQ(scene.radialBlurOn, 0);
    EXPECT_EQ(scene.radialText, 0);
    for (int id : {1174, 1175, 1176, 1177}) EXPECT_FALSE(panel.IsChecked(id)) << id;
    EXPECT_EQ(scene.motionStar, 2);
    EXPECT_EQ(scene.motionBlurOn, 2);
    EXPECT_EQ(scene.motionBlurSelected, 2);
    EXPECT_EQ(scene.blurActive, 2);
    // Motion "Text" and "Tiles" exclude each other; "Star" off leaves the blur on.
    panel.Click(1165);
    panel.Click(1164);
    EXPECT_FALSE(panel.IsChecked(1165));
    EXPECT_EQ(scene.motionTiles, 2);
    panel.Click(1161);
    EXPECT_EQ(scene.motionStar, 0);
    EXPECT_EQ(scene.motionBlurOn, 2);
    // A radial source takes over again.
    panel.Click(1176);
    EXPECT_EQ(scene.radialBlurOn, 2);
    EXPECT_FALSE(panel.IsChecked(1164));
}

TEST_F(LayerPanels, CancelledColourBlurStillRecomputesTheLayerColour) {
    PanelModel& panel = CreatePanel(PanelKind::Blur);
    platform_->colourAnswers.push_back(0x00FF8000u);  // blue 255, green 128, red 0
    panel.Click(1181);
    panel.Click(1169);
    ASSERT_EQ(scene.blurLayerBlue, 255.0f);
    panel.Click(1181);  // cancelled
    EXPECT_FLOAT_EQ(scene.blurLayerRed, 0.0f);
    EXPECT_NEAR(scene.blurLayerGreen, 128 / 255.0f, 1e-6);
    EXPECT_NEAR(scene.blurLayerBlue, 1.0f, 1e-6);
}

TEST_F(LayerPanels, BlurPanelShowsLoadedSourcesAndValues) {
    scene.radialStar = 2, scene.motionTilesPresses = 1, scene.blurBouncePresses = 1;
    scene.blurDensitySaved = 50, scene.extrudeUpSaved = 3, scene.blurSeparationSaved = 20;
    PanelModel& panel = CreatePanel(PanelKind::Blur);
    EXPECT_TRUE(panel.IsChecked(1176));
    EXPECT_TRUE(panel.IsChecked(1164));
    EXPECT_TRUE(panel.IsChecked(1172));
    EXPECT_EQ(scene.blurDensity, 50.0f);
    EXPECT_EQ(scene.extrudeUp, 3.0f);
    EXPECT_EQ(panel.SliderPosition(1168), 27);
    EXPECT_EQ(scene.blurSeparation, 20.0f);
    EXPECT_EQ(scene.blurUsed, 2);
    // A source that is on goes off at its first press.
    panel.Click(1176);
    EXPECT_EQ(scene.radialStar, 0);
}

// ----- Open --------------------------------------------------------------------

// A saved scene's used marks bring its panels back, and their first
// exchange brings the saved copies into effect.
TEST_F(LayerPanels, OpenMakesThePanelsOfTheUsedEffects) {
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

}  // namespace
}  // namespace quorbel
