// The Text Controls panel: the spin mapping, the zoom range and the text's z,
// what a new panel restores from the saved copies, the title and depth
// fields, and the texture and font choosers.
#include <algorithm>
#include <optional>
#include <string>

#include "effects/text.h"
#include "panel_test_helpers.h"

namespace quorbel {
namespace {

enum Id {
    kTitle = 1002, kChangeFont = 1081, kChrome = 1060, kGlass = 1061, kTextured = 1062, kLoadTexture = 1066,
    kSpinXBox = 1008, kSpinYBox = 1011, kSpinXSpeed = 1014, kStart = 1076, kEnd = 1077, kStep = 1079,
    kZoomSpeed = 1019, kPanLeft = 1021, kPanRight = 1022, kPanLeftSpeed = 1025, kPanReset = 1010,
    kResetDefaults = 1088, kDepth = 1000, kDepthOk = 1078, kBounce = 1009,
};

class TextPanel : public testing::PanelTest {
protected:
    PanelModel& Panel() { return CreatePanel(PanelKind::Text); }
};

TEST_F(TextPanel, AnySliderPutsTheTextAtTheStartOfTheZoomRange) {
    PanelModel& panel = Panel();
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

TEST_F(TextPanel, NewPanelRestoresFromTheSavedCopies) {
    scene.textSpinSpeedXSaved = -4, scene.textSpinXChecked = 1, scene.textSpinZChecked = 1;
    scene.textZoomSpeedSaved = 5, scene.textPanLeftSpeedSaved = 30, scene.textPanLeftChecked = 1;
    scene.textBouncePresses = 1, scene.textLoopStepSaved = 12, scene.textZoomStartSaved = -5, scene.textZoomEndSaved = 60;
    scene.textMouseZoom = 2.0f, scene.textPosZ = -7.0f;
    PanelModel& panel = Panel();
    EXPECT_EQ(panel.SliderPosition(1015), 30);
    EXPECT_EQ(scene.textSpinSpeedX, -4.0f);
    EXPECT_TRUE(panel.IsChecked(kSpinYBox));
    EXPECT_EQ(scene.textSpinX, 2);
    // The zoom speed slider shows eleven times the saved speed and gives back
    // a tenth of its position, so small speeds come back as they were.
    EXPECT_EQ(panel.SliderPosition(kZoomSpeed), 55);
    EXPECT_EQ(scene.textZoomSpeed, 5.0f);
    EXPECT_EQ(scene.textPanLeftSpeed, 30.0f);
    EXPECT_TRUE(panel.IsChecked(kPanLeft));
    EXPECT_TRUE(panel.IsChecked(kBounce));
    EXPECT_EQ(panel.SliderPosition(kStart), 45);
    EXPECT_EQ(scene.textZoomStart, -18);
    EXPECT_EQ(scene.textZoomEnd, -7.0f);
    EXPECT_EQ(scene.textLoopStep, 12.0f);
    EXPECT_EQ(scene.textPosZ, -7.0f) << "making the panel does not move the text";
}

TEST_F(TextPanel, FieldsShowTheTitleAndTheDepthAndTakeWhatIsTyped) {
    scene.titleText.Assign("Hello");
    PanelModel& panel = Panel();
    EXPECT_EQ(panel.FieldText(kTitle), "Hello");
    EXPECT_EQ(panel.FieldText(kDepth), "20");
    EXPECT_FLOAT_EQ(scene.textDepth, 2.0f);
    panel.ChangeText(kTitle, "A new title");
    EXPECT_EQ(scene.titleText.view(), "A new title");
    panel.ChangeText(kTitle, std::string(400, 'x'));
    EXPECT_EQ(scene.titleText.view().size(), 255u) << "a title longer than the glyph lists draw is cut";
    panel.ChangeText(kDepth, "35");
    EXPECT_FLOAT_EQ(scene.textDepth, 3.5f);
    EXPECT_EQ(scene.textDepthSet, 2);
    EXPECT_EQ(Panel().FieldText(kDepth), "35") << "a typed depth stays with the next panel";
}

// Cancelled choosers: the texture keeps its slot, the glyphs are rebuilt
// with the font the text had.
TEST_F(TextPanel, LoadTextureAndFontAnswerTheirChoosers) {
    PanelModel& panel = Panel();
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
