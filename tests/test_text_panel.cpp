// The Text Controls panel: the spin mapping, the zoom range and the text's z,
// what a new panel restores from the saved copies, the depth box, styles,
// font, pan reset and Reset Defaults.
#include <algorithm>
#include <optional>
#include <string>
#include <utility>

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

TEST_F(TextPanel, SpinSliderIsMinusTenToTenWithZeroFrom50To54) {
    PanelModel& panel = Panel();
    const std::pair<int, float> cases[] = {{0, -10}, {1, -10}, {49, -1}, {50, 0}, {52, 0}, {55, 1}, {100, 10}};
    for (auto [position, speed] : cases) {
        panel.MoveSlider(kSpinXSpeed, position);
        EXPECT_EQ(scene.textSpinSpeedY, speed) << position;
        EXPECT_EQ(scene.textSpinSpeedYSaved, speed) << position;
    }
}

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
    EXPECT_EQ(Panel().FieldText(kDepth), "35") << "a typed depth stays with the next panel";
}

// Seen edge-on, the extrusion of the default box value 20 doubles at 40.
TEST_F(TextPanel, DepthFortyAndItsOkDoubleTheExtrusion) {
    HeadlessEngine* engine = testing::Engine();
    testing::TempDirectory elsewhere;  // no settings file from the source folder
    scene.tunnelShown = scene.tilesShown = scene.particlesShown = scene.fireShown = 0, scene.starsHidden = 2;
    PanelModel& panel = Panel();
    scene.textAngleY = 90;
    auto edgeWidth = [&] {
        engine->RenderFrames(1);
        const std::vector<std::uint8_t> rgb = engine->ReadPixels();
        int minX = engine->width(), maxX = -1;
        for (int y = 0; y < engine->height(); ++y)
            for (int x = 0; x < engine->width(); ++x) {
                testing::Rgb p = testing::PixelAt(rgb, engine->width(), x, y);
                if (std::max({p.r, p.g, p.b}) > 16) minX = std::min(minX, x), maxX = std::max(maxX, x);
            }
        return maxX - minX + 1;
    };
    const int thin = edgeWidth();
    panel.ChangeText(kDepth, "40");
    EXPECT_EQ(edgeWidth(), thin) << "typing alone does not rebuild the glyphs";
    panel.Click(kDepthOk);
    EXPECT_GT(thin, 8);
    EXPECT_NEAR(edgeWidth(), 2.0 * thin, 0.25 * thin);
}

TEST_F(TextPanel, StylesMarkWhatTheNextPanelShows) {
    PanelModel& panel = Panel();
    EXPECT_TRUE(panel.IsChecked(kChrome));
    panel.Click(kGlass);
    EXPECT_EQ(scene.textGlass, 2);
    EXPECT_FALSE(panel.IsChecked(kChrome));
    PanelModel& next = Panel();
    EXPECT_TRUE(next.IsChecked(kGlass));
    EXPECT_FALSE(next.IsChecked(kChrome));
    next.Click(kChrome);
    EXPECT_TRUE(Panel().IsChecked(kChrome));
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

TEST_F(TextPanel, PanResetStopsThePanButKeepsItsDirection) {
    PanelModel& panel = Panel();
    panel.Click(kPanRight);
    panel.MoveSlider(1026, 40);
    scene.textPosX = 1.5f, scene.textPosY = -0.5f;
    panel.Click(kPanReset);
    EXPECT_EQ(scene.textPosX, 0.0f);
    EXPECT_FALSE(panel.IsChecked(kPanRight));
    EXPECT_EQ(scene.textPanRightPresses, 0);
    EXPECT_EQ(panel.SliderPosition(1026), 0);
    EXPECT_EQ(scene.textPanRightSpeed, 0.0f);
    EXPECT_EQ(scene.textPanH, 4);
}

TEST_F(TextPanel, ResetDefaultsOpensAFreshPanelOverTheOld) {
    PanelModel& panel = Panel();
    panel.Click(kSpinXBox);
    panel.MoveSlider(kSpinXSpeed, 90);
    panel.Click(kBounce);
    panel.Click(kGlass);
    panel.ChangeText(kDepth, "60");
    scene.textAngleY = 33, scene.textMouseZoom = 3;
    const std::uint32_t oldTexture = scene.textTexture;
    panel.Click(kResetDefaults);
    ASSERT_EQ(PanelCount(PanelKind::Text), 2u);
    PanelModel& fresh = *LatestPanel(PanelKind::Text);
    EXPECT_TRUE(fresh.Visible());
    EXPECT_TRUE(panel.Visible()) << "the old panel stays open underneath";
    EXPECT_EQ(scene.textSpinY, 0);
    EXPECT_EQ(scene.textWhiteRequest, 2);
    EXPECT_EQ(scene.textPosZ, -15.0f);
    EXPECT_EQ(fresh.FieldText(kDepth), "20");
    EXPECT_EQ(fresh.SliderPosition(kSpinXSpeed), 50);
    EXPECT_TRUE(fresh.IsChecked(kChrome));
    EXPECT_NE(scene.textTexture, oldTexture) << "the default text texture is loaded again";
}

}  // namespace
}  // namespace quorbel
