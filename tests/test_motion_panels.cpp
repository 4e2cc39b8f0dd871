// The particle, star and tunnel panels: the edge cases that pin what their
// boxes, buttons and first exchange do.
#include "effects/particles.h"
#include "panel_test_helpers.h"

namespace quorbel {
namespace {

class MotionPanels : public testing::PanelTest {};

// ----- particles ---------------------------------------------------------------

TEST_F(MotionPanels, AmplitudeBounceWhileLoopingTurnsTheLoopOff) {
    PanelModel& panel = CreatePanel(PanelKind::Particles);
    panel.Click(1073);
    ASSERT_EQ(scene.amplitudeLoop, 2);
    TheParticleSystem().radius = 12.0f;
    panel.Click(1074);
    EXPECT_EQ(scene.amplitudeLoop, 0);
    EXPECT_EQ(scene.amplitudeLoopPresses, 0);
    EXPECT_FALSE(panel.IsChecked(1073));
    EXPECT_EQ(scene.amplitudeBounce, 2);
    EXPECT_EQ(scene.amplitudeRising, 2);
    EXPECT_EQ(scene.amplitudeRisingSaved, 2);
    EXPECT_EQ(TheParticleSystem().radius, 12.0f) << "it rises from where it is";
}

TEST_F(MotionPanels, RandomColourTwiceRestoresTheColourizer) {
    PanelModel& panel = CreatePanel(PanelKind::Particles);
    panel.MoveSlider(1069, 40);
    panel.MoveSlider(1070, 60);
    panel.Click(1072);
    EXPECT_EQ(scene.particleRandomColour, 2);
    EXPECT_EQ(scene.colourOffsetR, 4);
    EXPECT_EQ(scene.particleColourCycle, 1);
    panel.Click(1072);
    EXPECT_EQ(scene.particleRandomColour, 0);
    EXPECT_EQ(scene.colourOffsetR, 20);
    EXPECT_EQ(scene.colourOffsetG, 15);
    EXPECT_EQ(scene.particleColourCycle, 0);
}

TEST_F(MotionPanels, Rotate90RebuildsTheSystemEveryClick) {
    PanelModel& panel = CreatePanel(PanelKind::Particles);
    panel.MoveSlider(1041, 30);
    for (bool vertical : {true, false}) {
        TheParticleSystem().particles[7].life = 0.2f;
        panel.Click(1093);
        EXPECT_EQ(TheParticleSystem().verticalRing, vertical);
        EXPECT_EQ(TheParticleSystem().particles[7].life, 1.0f) << "every particle starts again";
        EXPECT_EQ(TheParticleSystem().radius, 30.0f);
    }
}

// A settings load arms the zoom sliders' restoring; without it a new panel
// leaves them at 0.
TEST_F(MotionPanels, ParticleZoomLimitsComeBackOnlyWhenArmed) {
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

// ----- stars -------------------------------------------------------------------

TEST_F(MotionPanels, StarTiltSlidersWaitForEachOther) {
    PanelModel& panel = CreatePanel(PanelKind::Stars);
    panel.Click(1083);
    panel.Click(1083);  // tilt off: the speed slider is ignored
    ASSERT_EQ(scene.starTiltDir, 0);
    panel.MoveSlider(1035, 60);
    EXPECT_EQ(scene.starTiltSpeed, 0.0f);
    panel.Click(1084);  // tilting back: the speed is read, then the tilt is not
    panel.MoveSlider(1035, 60);
    EXPECT_EQ(scene.starTiltSpeed, 60.0f);
    panel.MoveSlider(1092, 30);
    EXPECT_EQ(scene.starFieldTilt, 0.0f);
    panel.Click(1084);  // stopping the tilt drops its speed
    EXPECT_EQ(scene.starTiltSpeed, 0.0f);
    EXPECT_EQ(scene.starTiltDirSaved, 0);
    panel.MoveSlider(1092, 30);
    EXPECT_EQ(scene.starFieldTilt, 120.0f);
}

TEST_F(MotionPanels, StarPanelTakesLoadedValuesOnceArmed) {
    scene.starSpeedPos = 12, scene.starTiltSaved = 40.0f, scene.starZoomStartSaved = -10, scene.starPanXSaved = 2;
    scene.starPanelRestore = 2;
    PanelModel& panel = CreatePanel(PanelKind::Stars);
    EXPECT_EQ(scene.starSpeed, 12.0f);
    EXPECT_EQ(scene.starFieldTilt, 40.0f);
    EXPECT_EQ(panel.SliderPosition(1092), 10);
    EXPECT_EQ(scene.starZoomStart, -10);
    EXPECT_EQ(scene.starFieldZ, -40.0f);
    EXPECT_TRUE(panel.IsChecked(1100));
    EXPECT_EQ(scene.starPanX, 0) << "directions are not restored, only their marks";
    EXPECT_EQ(scene.starPanelRestore, 0);
    scene.starSpeed = 3.0f;
    CreatePanel(PanelKind::Stars);
    EXPECT_EQ(scene.starSpeed, 3.0f) << "restored once per load";
}

// ----- tunnel ------------------------------------------------------------------

TEST_F(MotionPanels, TunnelWarpGrowsBy15PerPanelInTheFirstMode) {
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

TEST_F(MotionPanels, TunnelZoomSliderIsIgnoredWhileZooming) {
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

}  // namespace
}  // namespace quorbel
