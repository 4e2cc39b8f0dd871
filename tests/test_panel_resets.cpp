// Every panel's reset buttons, as one table: the live values and stored
// copies a reset sets, the ones it leaves, where the sliders end up, and
// whether it opens a fresh panel over the old one. Then the texture buttons
// whose chooser is cancelled.
#include "panel_test_helpers.h"

namespace quorbel {
namespace {

class PanelResets : public testing::PanelTest {};

TEST_F(PanelResets, EachResetSetsItsDefaultsAndLeavesTheRest) {
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
TEST_F(PanelResets, CancelledTextureChoosersKeepATextureInUse) {
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

}  // namespace
}  // namespace quorbel
