// Each way a slider position maps, at 0, 50 and 100, into its live value
// and its stored copy; and where a stored value puts a slider when a panel is made.
#include <array>
#include <cmath>
#include <string>

#include "effects/particles.h"
#include "panel_test_helpers.h"

namespace quorbel {
namespace {

using testing::Field;

struct SliderRow {
    PanelKind kind;
    int id;
    const char* live;
    std::array<double, 3> liveAt;  // at positions 0, 50, 100
    const char* stored;            // may be null: no separate copy
    std::array<double, 3> storedAt;
};

constexpr SliderRow kRows[] = {
    // One row for each way a position maps; the rows that only copy the
    // position are represented by one per panel.
    // Text (the spin sliders have a test of their own): the zoom range
    // around the text's z.
    {PanelKind::Text, 1025, "textPanLeftSpeed", {0, 50, 100}, "textPanLeftSpeedSaved", {0, 50, 100}},
    {PanelKind::Text, 1076, "textPosZ", {-65, -15, 35}, "textZoomStartSaved", {-50, 0, 50}},
    {PanelKind::Text, 1076, "textZoomStart", {-65, -15, 35}, nullptr, {}},
    {PanelKind::Text, 1077, "textZoomEnd", {-65, -15, 35}, "textZoomEndSaved", {0, 50, 100}},
    // Particles.
    {PanelKind::Particles, 1069, "colourOffsetR", {0, 25, 50}, "colourizerPos1", {0, 50, 100}},
    {PanelKind::Particles, 1071, "colourOffsetB", {0, 10, 20}, "colourizerPos3", {0, 50, 100}},
    {PanelKind::Particles, 1070, "colourOffsetG", {0, 12, 25}, "colourizerPos2", {0, 50, 100}},
    {PanelKind::Particles, 1075, "particleSpeed", {0, 50, 100}, "particleSpeedPos", {0, 50, 100}},
    {PanelKind::Particles, 1044, "particleSpacingPos", {0, 50, 100}, nullptr, {}},
    {PanelKind::Particles, 1038, "gravityY", {-15, 1, 18}, nullptr, {}},
    {PanelKind::Particles, 1045, "zoomStart", {-100, -50, 0}, "zoomStartSaved", {-100, -50, 0}},
    // Stars (the fresh scene tilts forwards, so the tilt speed is read).
    {PanelKind::Stars, 1035, "starTiltSpeed", {0, 50, 100}, "starTiltSpeedPos", {0, 50, 100}},
    {PanelKind::Stars, 1092, "starFieldTilt", {0, 200, 400}, "starTiltSaved", {0, 200, 400}},
    {PanelKind::Stars, 1095, "starZoomStart", {-50, 0, 50}, "starZoomStartSaved", {-50, 0, 50}},
    {PanelKind::Stars, 1095, "starFieldZ", {-80, -30, 20}, nullptr, {}},
    {PanelKind::Stars, 1085, "starSpeed", {0, 50, 100}, "starSpeedPos", {0, 50, 100}},
    // Tunnel (first texture mode, not zooming).
    {PanelKind::Tunnel, 1076, "tunnelSpeed", {-50, 0, 50}, "tunnelSpeedPos", {-50, 0, 50}},
    {PanelKind::Tunnel, 1107, "tunnelDepth", {-50, 0, 50}, "tunnelDepthPos", {-50, 0, 50}},
    {PanelKind::Tunnel, 1037, "tunnelTwist", {0, 50, 100}, "tunnelTwistPos", {0, 50, 100}},
    {PanelKind::Tunnel, 1079, "tunnelWarpA", {-35, 15, 65}, "tunnelWarpAPos", {-35, 15, 65}},
    // Tiles.
    {PanelKind::Tiles, 1076, "tile1RotSpeed", {0, 50, 100}, "tile1RotSpeedSaved", {0, 50, 100}},
    {PanelKind::Tiles, 1079, "tile1Zoom", {-100, -50, 0}, "tile1ZoomSaved", {-100, -50, 0}},
    // Fire: signed values centred, colours stored as offsets from their defaults.
    {PanelKind::Fire, 1124, "fireDirY", {-45, 5, 55}, "fireDirYSaved", {-45, 5, 55}},
    {PanelKind::Fire, 1126, "fireStretchLeft", {0, 50, 100}, "fireStretchLeftSaved", {0, 50, 100}},
    {PanelKind::Fire, 1134, "fireRed", {0, 50, 100}, "fireRedSaved", {-50, 0, 50}},
    {PanelKind::Fire, 1135, "fireGreen", {0, 50, 100}, "fireGreenSaved", {-30, 20, 70}},
    {PanelKind::Fire, 1136, "fireBlue", {0, 50, 100}, "fireBlueSaved", {-20, 30, 80}},
    // Blur.
    {PanelKind::Blur, 1077, "blurSeparation", {0, 50, 100}, "blurSeparationSaved", {0, 50, 100}},
    {PanelKind::Blur, 1182, "blurDensity", {0, 100, 200}, "blurDensitySaved", {0, 100, 200}},
    {PanelKind::Blur, 1178, "blurBackRed", {0, 25, 50}, "blurBackRedSaved", {0, 25, 50}},
    {PanelKind::Blur, 1153, "extrudeLeft", {0, 5, 11}, "extrudeLeftSaved", {0, 5, 11}},
};

class PanelSliders : public testing::PanelTest {};

TEST_F(PanelSliders, EachMappingGivesItsLiveValueAndStoredCopy) {
    const SceneState start = scene;
    for (const SliderRow& row : kRows) {
        // Each row from the same start: one slider's copy can decide whether
        // another is read (the star tilt waits for a slow tilt speed).
        scene = start;
        PanelModel& panel = CreatePanel(row.kind);
        for (int i = 0; i < 3; ++i) {
            const int position = i * 50;
            panel.MoveSlider(row.id, position);
            SCOPED_TRACE(::testing::Message() << TemplateOf(row.kind).caption << " slider " << row.id << " at "
                                              << position);
            ASSERT_EQ(panel.SliderPosition(row.id), position);
            EXPECT_EQ(testing::Field(row.live), row.liveAt[i]) << row.live;
            if (row.stored) {
                EXPECT_EQ(testing::Field(row.stored), row.storedAt[i]) << row.stored;
            }
        }
    }
}

// The particle system's own live values: radius, depth and spacing.
TEST_F(PanelSliders, ParticleSystemValuesFollowTheirSliders) {
    PanelModel& panel = CreatePanel(PanelKind::Particles);
    ParticleSystem& system = TheParticleSystem();
    const struct { int id; int position; float ParticleSystem::*value; float expected; } cases[] = {
        {1041, 0, &ParticleSystem::radius, 0}, {1041, 70, &ParticleSystem::radius, 70},
        {1045, 0, &ParticleSystem::zoom, -60}, {1045, 100, &ParticleSystem::zoom, 40},
    };
    for (const auto& c : cases) {
        panel.MoveSlider(c.id, c.position);
        EXPECT_EQ(system.*c.value, c.expected) << c.id << " at " << c.position;
    }
    for (int position : {0, 50, 100}) {
        panel.MoveSlider(1044, position);
        EXPECT_EQ(system.angleStep, position * 50);
    }
}

TEST(SliderPositions, AreCutToTheSliderAndNotANumberIsItsStart) {
    EXPECT_EQ(ClampedPosition(std::nan("")), kSliderMin);
    EXPECT_EQ(ClampedPosition(-1e30), kSliderMin);
    EXPECT_EQ(ClampedPosition(99.9), 99);
    EXPECT_EQ(ClampedPosition(1e30), kSliderMax);
}

TEST_F(PanelSliders, MovingOneSliderRereadsTheOthers) {
    PanelModel& panel = CreatePanel(PanelKind::Fire);
    scene.fireLife = 77.0f;  // changed elsewhere, say by Open
    panel.MoveSlider(1126, 10);
    EXPECT_EQ(scene.fireLife, 0.0f) << "the Particle Life slider still shows 50";
}
// Where a stored value puts a slider when a panel is made (the inverse of
// its mapping), including stored values no slider can show.
TEST_F(PanelSliders, CreationPushesStoredValuesIntoSliders) {
    struct Push { PanelKind kind; const char* stored; const char* value; int id; int position; };
    const Push pushes[] = {
        {PanelKind::Fire, "fireDirYSaved", "5", 1124, 50},
        {PanelKind::Fire, "fireGreenSaved", "0", 1135, 30},
        {PanelKind::Particles, "gravityX", "2", 1039, 51},
        {PanelKind::Text, "textSpinSpeedXSaved", "3", 1015, 65},
        {PanelKind::Text, "textZoomSpeedSaved", "4", 1019, 44},
        {PanelKind::Text, "textZoomSpeedSaved", "40", 1019, 100},
        {PanelKind::Blur, "blurDensitySaved", "120", 1182, 60},
        {PanelKind::Blur, "blurBackGreenSaved", "1e30", 1179, 100},
        {PanelKind::Stars, "starTiltSaved", "200", 1092, 50},
        {PanelKind::Tiles, "tile1PanLeftSpeedSaved", "-3", 1028, 0},
        {PanelKind::Tunnel, "tunnelTwistPos", "7", 1037, 7},
    };
    for (const Push& push : pushes) {
        ASSERT_FALSE(SetSceneField(scene, push.stored, push.value)) << push.stored;
        EXPECT_EQ(CreatePanel(push.kind).SliderPosition(push.id), push.position) << push.stored << " " << push.value;
    }
}

}  // namespace
}  // namespace quorbel
