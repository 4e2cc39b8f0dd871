// Menu and toolbar commands over the scene state: Show/Hide sequences, Edit
// command counters and panel hand-over, the background colour, the help
// pages, and New and Open renewing the view's set-up.
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

// ----- the others ------------------------------------------------------------

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
