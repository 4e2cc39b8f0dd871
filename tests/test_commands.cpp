// Menu and toolbar commands over the scene state: Show/Hide sequences, Edit
// command counters and panel hand-over, Play/Pause, the background colour
// and the dispatcher's reach.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/command_ids.h"
#include "commands/commands.h"
#include "commands/panel_hooks.h"
#include "support/scripted_platform.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"

namespace quorbel {
namespace {

using namespace command;

class Commands : public ::testing::Test {
protected:
    void SetUp() override {
        scene = SceneState{};
        // The state the view's initialisation leaves: stars hidden, keys on
        // the title, the title counted as shown.
        scene.starsHidden = 2;
        scene.keyTarget = 2;
        scene.textToggleCount = 1;
        platform->viewContextAvailable = false;  // no GL here: commands must cope
        EditPanelHooks().createPanel = [this](ControlPanel kind) {
            created.push_back(kind);
            openMarkWhenCreated.push_back(scene.textPanelOpen);
        };
        EditPanelHooks().releaseOkSlot = [this](ControlPanel kind) { released.push_back(kind); };
    }
    void TearDown() override {
        EditPanelHooks() = {};
        ShellCommandHooks() = {};
    }
    static void Press(int command, int times = 1) {
        for (int i = 0; i < times; ++i) ASSERT_TRUE(ExecuteCommand(command));
    }
    bool Checked(int command) { return platform->menuChecks.at(command); }

    ScopedScriptedPlatform platform;
    std::vector<ControlPanel> created, released;
    std::vector<int> openMarkWhenCreated;
};

// ----- Show/Hide -----------------------------------------------------------

TEST_F(Commands, ShowHideAlternatesForEveryEffect) {
    struct Row {
        int command;
        std::int32_t SceneState::*visibility;
        std::int32_t shownValue, hiddenValue;
    };
    const Row rows[] = {
        {kShowHideTunnel, &SceneState::tunnelShown, 2, 0},  {kShowHideStars, &SceneState::starsHidden, 0, 2},
        {kShowHideParticles, &SceneState::particlesShown, 2, 0}, {kShowHideTiles, &SceneState::tilesShown, 2, 0},
        {kShowHideFire, &SceneState::fireShown, 2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        Press(row.command);
        EXPECT_EQ(scene.*row.visibility, row.shownValue);
        EXPECT_TRUE(Checked(row.command));
        Press(row.command);
        EXPECT_EQ(scene.*row.visibility, row.hiddenValue);
        EXPECT_FALSE(Checked(row.command));
        Press(row.command);
        EXPECT_EQ(scene.*row.visibility, row.shownValue) << "a third press shows again";
    }
}

TEST_F(Commands, TextStartsShownSoTheFirstPressHidesItAndDropsItsBlurs) {
    scene.radialBlurOn = scene.motionBlurOn = scene.radialText = scene.motionText = 2;
    scene.radialStar = 2;
    Press(kShowHideText);
    EXPECT_EQ(scene.textHidden, 2);
    EXPECT_FALSE(Checked(kShowHideText));
    EXPECT_EQ(scene.textToggleCount, 0);
    EXPECT_EQ(scene.radialBlurOn, 0);
    EXPECT_EQ(scene.motionBlurOn, 0);
    EXPECT_EQ(scene.radialText, 0);
    EXPECT_EQ(scene.motionText, 0);
    EXPECT_EQ(scene.radialStar, 2) << "only the text's own selections go";
    Press(kShowHideText);
    EXPECT_EQ(scene.textHidden, 0);
}

TEST_F(Commands, TheCounterNotTheFieldDecidesTheStarsPress) {
    // Stored counter 0: the first press shows the stars the set-up hid.
    Press(kShowHideStars);
    EXPECT_EQ(scene.starsHidden, 0);
    // Stored counter 1 (from a settings file): the next press hides, even
    // though the stars are hidden already, and drops the motion-blur star.
    scene = SceneState{};
    scene.starsHidden = 2;
    scene.starsToggleCount = 1;
    scene.motionStar = 2;
    Press(kShowHideStars);
    EXPECT_EQ(scene.starsHidden, 2);
    EXPECT_EQ(scene.starsToggleCount, 0);
    EXPECT_EQ(scene.motionStar, 0);
}

TEST_F(Commands, HidingPressesRunTheirExtras) {
    Press(kShowHideTunnel);
    scene.tunnelRebuildPending = 0;
    Press(kShowHideTunnel);
    EXPECT_EQ(scene.tunnelShown, 0);
    EXPECT_EQ(scene.tunnelRebuildPending, 2) << "the tunnel is rebuilt, then hidden";
    scene.radialFire = 2;
    Press(kShowHideFire, 2);
    EXPECT_EQ(scene.radialFire, 0);
}

TEST_F(Commands, AHostileCounterDoesNotOverflow) {
    scene.starsToggleCount = 2147483647;
    Press(kShowHideStars);
    EXPECT_EQ(scene.starsToggleCount, 0);
    EXPECT_EQ(scene.starsHidden, 2);
}

// ----- Edit commands ---------------------------------------------------------

TEST_F(Commands, EditCommandsCreateOnFirstPressForgetOnSecondCreateAgainOnThird) {
    struct Row {
        int command;
        ControlPanel kind;
        std::int32_t SceneState::*openMark;
        std::int32_t SceneState::*presses;
    };
    const Row rows[] = {
        {kEditText, ControlPanel::Text, &SceneState::textPanelOpen, &SceneState::textPanelPresses},
        {kEditParticles, ControlPanel::Particles, &SceneState::particlePanelOpen, &SceneState::particlePanelPresses},
        {kEditStars, ControlPanel::Stars, &SceneState::starPanelOpen, &SceneState::starPanelPresses},
        {kEditTunnel, ControlPanel::Tunnel, &SceneState::tunnelPanelOpen, &SceneState::tunnelPanelPresses},
        {kEditTiles, ControlPanel::Tiles, &SceneState::tilePanelOpen, &SceneState::tilePanelPresses},
        {kEditFire, ControlPanel::Fire, &SceneState::firePanelOpen, &SceneState::firePanelPresses},
        {kEditBlur, ControlPanel::Blur, &SceneState::blurPanelOpen, &SceneState::blurPanelPresses},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        created.clear();
        released.clear();
        Press(row.command);
        EXPECT_EQ(created, std::vector<ControlPanel>{row.kind});
        EXPECT_EQ(scene.*row.openMark, 2);
        EXPECT_EQ(scene.*row.presses, 1);
        Press(row.command);
        EXPECT_EQ(created.size(), 1u) << "the second press creates nothing";
        EXPECT_EQ(released, std::vector<ControlPanel>{row.kind});
        EXPECT_EQ(scene.*row.openMark, 0);
        EXPECT_EQ(scene.*row.presses, 0);
        Press(row.command);
        EXPECT_EQ(created.size(), 2u) << "the third press opens a second instance";
    }
}

TEST_F(Commands, EditCommandsShowTheirEffectAndAimTheKeys) {
    struct Row {
        int command;
        std::int32_t SceneState::*visibility;
        std::int32_t shownValue;
        int showHideCommand;
        std::int32_t keyTarget;  // 0: left alone
    };
    const Row rows[] = {
        {kEditParticles, &SceneState::particlesShown, 2, kShowHideParticles, 6},
        {kEditStars, &SceneState::starsHidden, 0, kShowHideStars, 4},
        {kEditTunnel, &SceneState::tunnelShown, 2, kShowHideTunnel, 0},
        {kEditTiles, &SceneState::tilesShown, 2, kShowHideTiles, 0},
        {kEditFire, &SceneState::fireShown, 2, kShowHideFire, 7},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        scene.keyTarget = 2;
        Press(row.command);
        EXPECT_EQ(scene.*row.visibility, row.shownValue);
        EXPECT_TRUE(Checked(row.showHideCommand));
        EXPECT_EQ(scene.keyTarget, row.keyTarget ? row.keyTarget : 2);
    }
    EXPECT_EQ(scene.tunnelRebuildPending, 2);
    EXPECT_EQ(scene.fireToggleCount, 1);
}

TEST_F(Commands, EditTextCountsItsPressesAndResetsThemOnTheSecond) {
    scene.textHidden = 2;
    scene.keyTarget = 7;
    Press(kEditText);
    EXPECT_EQ(scene.textHidden, 0);
    EXPECT_TRUE(Checked(kShowHideText));
    EXPECT_EQ(scene.keyTarget, 2);
    EXPECT_EQ(scene.textToggleCount, 2) << "counted on top of the start value 1";
    EXPECT_EQ(openMarkWhenCreated, std::vector<int>{0}) << "the open mark is set after creation";
    Press(kEditText);
    EXPECT_EQ(scene.textToggleCount, 0);
}

TEST_F(Commands, EditParticlesThenShowHideParticlesHidesThem) {
    Press(kEditParticles);
    EXPECT_EQ(scene.particlesShown, 2);
    EXPECT_EQ(scene.particlesToggleCount, 1);
    Press(kShowHideParticles);
    EXPECT_EQ(scene.particlesShown, 0);
    EXPECT_FALSE(Checked(kShowHideParticles));
}

TEST_F(Commands, FireAimsTheKeysOnEveryPressButCountsOnlyWhenOpening) {
    Press(kEditFire);
    Press(kEditFire);  // forgets the panel
    scene.keyTarget = 2;
    scene.fireToggleCount = 0;
    Press(kEditFire);
    EXPECT_EQ(scene.keyTarget, 7);
    EXPECT_EQ(scene.fireToggleCount, 1);
    scene.keyTarget = 2;
    Press(kEditFire);  // the second press of this round: no panel, keys still aimed
    EXPECT_EQ(scene.keyTarget, 7);
}

// ----- the others ------------------------------------------------------------

TEST_F(Commands, PlayAndPause) {
    Press(kPause);
    EXPECT_EQ(scene.paused, 2);
    Press(kPause);
    EXPECT_EQ(scene.paused, 2);
    Press(kPlay);
    EXPECT_EQ(scene.paused, 0);
}

TEST_F(Commands, BackgroundColourConvertsEachByteAndKeepsASavedCopy) {
    platform->colourAnswers.push_back(0x00336699u);  // red 0x99, green 0x66, blue 0x33
    Press(kBackgroundColour);
    EXPECT_EQ(scene.backgroundColour, 0x00336699u);
    EXPECT_FLOAT_EQ(scene.clearRed, 153 * 0.003921569f);
    EXPECT_FLOAT_EQ(scene.clearGreen, 102 * 0.003921569f);
    EXPECT_FLOAT_EQ(scene.clearBlue, 51 * 0.003921569f);
    EXPECT_EQ(scene.savedRed, scene.clearRed);
    EXPECT_EQ(scene.savedGreen, scene.clearGreen);
    EXPECT_EQ(scene.savedBlue, scene.clearBlue);
    platform->colourAnswers.push_back(0x00FFFFFFu);
    Press(kBackgroundColour);
    EXPECT_FLOAT_EQ(scene.clearRed, 1.0f);
}

TEST_F(Commands, CancellingTheColourChooserKeepsALoadedBackground) {
    scene.clearRed = scene.savedRed = 0.5f;  // as a settings file leaves it
    Press(kBackgroundColour);                // no answer queued: cancel
    EXPECT_EQ(scene.clearRed, 0.5f);
    EXPECT_EQ(scene.savedRed, 0.5f);
    EXPECT_TRUE(platform->messages.empty());
}

TEST_F(Commands, BackgroundColourIsRefusedWhileABlurIsSelected) {
    scene.blurActive = 2;
    platform->colourAnswers.push_back(0x00FFFFFFu);
    Press(kBackgroundColour);
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_EQ(platform->messages[0].text, "Not available while blur is selected.");
    EXPECT_EQ(platform->messages[0].caption, "Quorbel");
    EXPECT_EQ(platform->messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(platform->colourAnswers.size(), 1u) << "the chooser is not shown";
    EXPECT_EQ(scene.clearRed, 0.0f);
}

TEST_F(Commands, HooksAreReachedAndInertCommandsDoNothing) {
    std::vector<std::string> calls;
    CommandHooks& hooks = ShellCommandHooks();
    hooks.showAbout = [&] { calls.push_back("about"); };
    hooks.saveSettings = [&] { calls.push_back("save"); };
    hooks.generateAvi = [&] { calls.push_back("avi"); };
    Press(kAbout);
    Press(kFileSave);  // Ctrl+S saves the settings, never an empty document
    Press(kSaveSettings);
    Press(kGenerateAvi);
    EXPECT_EQ(calls, (std::vector<std::string>{"about", "save", "save", "avi"}));

    SceneState before = scene;
    Press(kInert);
    Press(kNewSettings);  // no hook set: nothing happens
    EXPECT_EQ(scene.paused, before.paused);
    EXPECT_TRUE(platform->messages.empty());
    EXPECT_FALSE(ExecuteCommand(12345));
}

TEST_F(Commands, OnlinePagesOpenOurOwnDocuments) {
    Press(kOnlineHelp);
    Press(kOnlineFaq);
    ASSERT_EQ(platform->openedPages.size(), 2u);
    EXPECT_EQ(platform->openedPages[0].rfind("file://", 0), 0u);
    EXPECT_NE(platform->openedPages[0].find("help.html"), std::string::npos);
    EXPECT_NE(platform->openedPages[1].find("faq.html"), std::string::npos);
    EXPECT_TRUE(platform->messages.empty());
    platform->pagesOpen = false;  // no browser: the user is told, not left waiting
    Press(kOnlineHelp);
    ASSERT_EQ(platform->messages.size(), 1u);
    EXPECT_NE(platform->messages[0].text.find("help.html"), std::string::npos);
}

}  // namespace
}  // namespace quorbel

namespace quorbel {
namespace {

// Ctrl+N and Ctrl+O renew the content-less document, and with it the view's
// first-update initialisation runs again: its start values come back.
TEST(DocumentCommands, CtrlNAndCtrlORunTheSceneInitialisationAgain) {
    ASSERT_TRUE(testing::FreshScene());
    ScopedScriptedPlatform platform;
    auto disturb = [] {
        scene.keyTarget = 7;
        scene.starsHidden = 0;
        scene.textToggleCount = 0;
    };
    auto expectInitialised = [](const char* how) {
        EXPECT_EQ(scene.keyTarget, 2) << how;
        EXPECT_EQ(scene.starsHidden, 2) << how;
        EXPECT_EQ(scene.textToggleCount, 1) << how;
    };
    disturb();
    ASSERT_TRUE(ExecuteCommand(command::kFileNew));
    expectInitialised("Ctrl+N");
    EXPECT_TRUE(DocumentName().empty());

    disturb();
    ASSERT_TRUE(ExecuteCommand(command::kFileOpen));  // cancelled: nothing happens
    EXPECT_EQ(scene.keyTarget, 7);
    platform->openAnswers.push_back(std::string("/somewhere/scene.qrl"));
    ASSERT_TRUE(ExecuteCommand(command::kFileOpen));
    expectInitialised("Ctrl+O");
    EXPECT_EQ(DocumentName(), "/somewhere/scene.qrl") << "named, never read";

    disturb();
    platform->viewContextAvailable = false;
    ASSERT_TRUE(ExecuteCommand(command::kFileNew));
    EXPECT_EQ(scene.keyTarget, 7) << "without the view's context the GL set-up is skipped, not run blind";
    EXPECT_TRUE(DocumentName().empty());
}

}  // namespace
}  // namespace quorbel
