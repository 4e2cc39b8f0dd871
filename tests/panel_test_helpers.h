// Shared pieces of the panel tests: a fresh scene with its GL set-up (the
// panels rebuild glyphs and load textures), no panels yet, and a scripted
// platform that records what the panels ask of the shell.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "panels/panel_registry.h"
#include "support/scripted_platform.h"
#include "scene/scene_state.h"
#include "support/gl_test_env.h"

namespace quorbel::testing {

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FreshScene());
        DiscardAllPanels();
    }
    void TearDown() override { DiscardAllPanels(); }

    // Two presses of a check box: the usual on-then-off.
    static void ClickTwice(PanelModel& panel, int id) {
        panel.Click(id);
        panel.Click(id);
    }

    ScopedScriptedPlatform platform_;
};

}  // namespace quorbel::testing
