// What all panels share: press-counter check boxes and their pairs, counters
// from a file, number fields, and the panels' lifetime.
#include <fstream>
#include <string>

#include "panel_test_helpers.h"
#include "commands/edit_commands.h"
#include "commands/panel_wiring.h"
#include "scene/frame_driver.h"

namespace quorbel {
namespace {

using testing::Field;

class PanelFramework : public testing::PanelTest {};

struct ToggleCase {
    PanelKind kind;
    int id;
    const char* flag;
    int onValue;
    const char* counter;
};

// A sample of counter-driven boxes from every panel that has them.
constexpr ToggleCase kToggles[] = {
    {PanelKind::Text, 1008, "textSpinY", 2, "textSpinYPresses"},
    {PanelKind::Text, 1018, "textZoomDir", 4, "textZoomOutPresses"},
    {PanelKind::Text, 1009, "textZoomCycle", 4, "textBouncePresses"},
    {PanelKind::Particles, 1073, "amplitudeLoop", 2, "amplitudeLoopPresses"},
    {PanelKind::Stars, 1091, "starSpin", 4, "starRotateRightPresses"},
    {PanelKind::Stars, 1102, "starPanY", 2, "starPanUpPresses"},
    {PanelKind::Tunnel, 1106, "tunnelZoomDir", 2, "tunnelZoomInPresses"},
    {PanelKind::Tiles, 1041, "tile2PanU", 4, "tile2PanLeftPresses"},
    {PanelKind::Fire, 1137, "fireColourRotate", 2, "fireRotatePresses"},
    {PanelKind::Blur, 1172, "blurSeparationBounce", 2, "blurBouncePresses"},
};

TEST_F(PanelFramework, FirstClickSwitchesOnSecondSwitchesOffAndUnchecks) {
    for (const ToggleCase& c : kToggles) {
        SCOPED_TRACE(::testing::Message() << TemplateOf(c.kind).caption << " box " << c.id);
        PanelModel& panel = CreatePanel(c.kind);
        panel.Click(c.id);
        EXPECT_EQ(Field(c.flag), c.onValue);
        EXPECT_EQ(Field(c.counter), 1);
        EXPECT_TRUE(panel.IsChecked(c.id));
        panel.Click(c.id);
        EXPECT_EQ(Field(c.flag), 0);
        EXPECT_EQ(Field(c.counter), 0);
        EXPECT_FALSE(panel.IsChecked(c.id));
    }
}

struct PairCase {
    PanelKind kind;
    int first, second;
    const char* flag;
    int secondValue;
    const char* firstCounter;
};
constexpr PairCase kPairs[] = {
    {PanelKind::Text, 1017, 1018, "textZoomDir", 4, "textZoomInPresses"},
    {PanelKind::Text, 1031, 1009, "textZoomCycle", 4, "textLoopPresses"},
    {PanelKind::Particles, 1014, 1009, "zoomBounce", 2, "zoomLoopPresses"},
    {PanelKind::Stars, 1083, 1084, "starTiltDir", 4, "starTiltFwdPresses"},
    {PanelKind::Tunnel, 1106, 1009, "tunnelZoomDir", 4, "tunnelZoomInPresses"},
    {PanelKind::Tiles, 1115, 1116, "tile1RotDir", 4, "tile1RotLeftPresses"},
    {PanelKind::Blur, 1171, 1172, "blurSeparationBounce", 2, "blurLoopPresses"},
};

TEST_F(PanelFramework, SwitchingOneOfAPairOnClearsThePartner) {
    for (const PairCase& c : kPairs) {
        SCOPED_TRACE(::testing::Message() << TemplateOf(c.kind).caption << " pair " << c.first << "/" << c.second);
        PanelModel& panel = CreatePanel(c.kind);
        panel.Click(c.first);
        panel.Click(c.second);
        EXPECT_EQ(Field(c.flag), c.secondValue);
        EXPECT_FALSE(panel.IsChecked(c.first));
        EXPECT_TRUE(panel.IsChecked(c.second));
        EXPECT_EQ(Field(c.firstCounter), 0) << "so the partner's next press switches it on again";
        panel.Click(c.first);
        EXPECT_TRUE(panel.IsChecked(c.first));
    }
}

// Counters and cycles loaded from a file may hold anything: a press still
// does the next sensible thing and never overflows.
TEST_F(PanelFramework, HostileCountersStillToggle) {
    PanelModel& stars = CreatePanel(PanelKind::Stars);
    const struct { int stored; int flagAfter; } cases[] = {{INT32_MAX, 0}, {-5, 2}, {7, 0}};
    for (const auto& c : cases) {
        scene.starLoopPresses = c.stored;
        stars.Click(1098);
        EXPECT_EQ(scene.starZoomLoop, c.flagAfter) << c.stored;
    }
    PanelModel& particles = CreatePanel(PanelKind::Particles);
    for (int stored : {INT32_MAX, 100, -3}) {
        scene.particleRotate90 = stored;
        particles.Click(1093);
        EXPECT_TRUE(scene.particleRotate90 == 1 || scene.particleRotate90 == 2) << stored;
    }
}

TEST_F(PanelFramework, NumberFieldsTakeWholeNumbersOnly) {
    PanelModel& particles = CreatePanel(PanelKind::Particles);
    EXPECT_EQ(particles.FieldText(1000), "2000");
    particles.ChangeText(1000, "");
    EXPECT_EQ(scene.particleCount, 2000);
    EXPECT_TRUE(platform_->messages.empty()) << "an emptied field is the user typing, not an error";
    for (const char* bad : {"12a", "99999999999", "-"}) {
        particles.ChangeText(1000, bad);
        EXPECT_EQ(scene.particleCount, 2000) << bad;
    }
    ASSERT_EQ(platform_->messages.size(), 3u);
    EXPECT_EQ(platform_->messages[0].text, "Please enter an integer.");
    // Enter with a refused number keeps the panel open to show it.
    particles.PressEnter();
    EXPECT_TRUE(particles.Visible());
    particles.ChangeText(1000, "150");
    EXPECT_EQ(scene.particleCount, 150);
    particles.PressEnter();
    EXPECT_FALSE(particles.Visible());
}

// The Edit command's first press opens a panel, its second forgets it (the
// panel stays on screen), its third opens another; both edit the same values.
TEST_F(PanelFramework, EditPressedThreeTimesGivesTwoPanels) {
    InstallControlPanels();
    for (int press = 1; press <= 3; ++press) RunEditCommand(ControlPanel::Tunnel, true);
    ASSERT_EQ(PanelCount(PanelKind::Tunnel), 2u);
    EXPECT_TRUE(FindPanel({132, 0})->Visible());
    EXPECT_TRUE(FindPanel({132, 1})->Visible());
    EXPECT_EQ(scene.tunnelPanelOpen, 2);
    FindPanel({132, 0})->MoveSlider(1037, 40);
    EXPECT_EQ(scene.tunnelTwist, 40.0f);
    // Closed with its close box, the panel's kind opens anew at the next press.
    FindPanel({132, 1})->PressCloseBox();
    RunEditCommand(ControlPanel::Tunnel, true);
    EXPECT_EQ(PanelCount(PanelKind::Tunnel), 3u);
    // Enter hides without clearing the open mark: the next press is a second
    // press and opens nothing; the one after that does.
    FindPanel({132, 2})->PressEnter();
    RunEditCommand(ControlPanel::Tunnel, true);
    EXPECT_EQ(PanelCount(PanelKind::Tunnel), 3u);
    RunEditCommand(ControlPanel::Tunnel, true);
    EXPECT_EQ(PanelCount(PanelKind::Tunnel), 4u);
    RemoveControlPanels();
}

// The first frame that finds "settings.qrl" makes the start-up panels.
TEST_F(PanelFramework, StartupMakesAHiddenTextPanelAndAShownBlurPanel) {
    testing::TempDirectory folder;
    InstallControlPanels();
    ::testing::internal::CaptureStderr();
    RenderFrame();
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(PanelCount(PanelKind::Text), 0u) << "no settings file yet";
    testing::WriteEmptySettingsFile();
    RenderFrame();
    ASSERT_EQ(PanelCount(PanelKind::Text), 1u);
    ASSERT_EQ(PanelCount(PanelKind::Blur), 1u);
    EXPECT_FALSE(LatestPanel(PanelKind::Text)->Visible());
    EXPECT_TRUE(LatestPanel(PanelKind::Blur)->Visible());
    EXPECT_EQ(scene.textPanelOpen, 0);
    EXPECT_EQ(scene.blurPanelOpen, 0);
    EXPECT_EQ(scene.textUsed, 0);
    EXPECT_EQ(scene.blurUsed, 0);
    RenderFrame();
    EXPECT_EQ(PanelCount(PanelKind::Blur), 1u) << "the start-up work runs once";
    RemoveControlPanels();
}

}  // namespace
}  // namespace quorbel
