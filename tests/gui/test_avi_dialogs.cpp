// The recording's two boxes: AVI Properties (standard and number of frames)
// and the compressor chooser with its quality setting.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "app/gui/avi_properties_dialog.h"
#include "app/gui/compressor_dialog.h"

namespace quorbel::gui {
namespace {

template <typename T>
T* Child(QWidget& parent, const char* name) {
    return parent.findChild<T*>(QString::fromLatin1(name));
}

QStringList Texts(QWidget& parent) {
    QStringList texts;
    for (auto* label : parent.findChildren<QLabel*>()) texts << label->text();
    for (auto* box : parent.findChildren<QGroupBox*>()) texts << box->title();
    return texts;
}

// Runs `answer` on the box once it is showing, then returns what exec gave.
template <typename Open, typename Answer>
auto WithModalAnswer(Open open, Answer answer) {
    QTimer::singleShot(0, [answer] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        answer(*box);
    });
    return open();
}

TEST(AviPropertiesBox, StartsAtTheLastStandardAndZeroFrames) {
    AviPropertiesDialog box({kStandardPal, 123});
    EXPECT_EQ(box.windowTitle(), "AVI Properties");
    EXPECT_TRUE(Child<QRadioButton>(box, "control1029")->isChecked()) << "the standard chosen last time";
    EXPECT_FALSE(Child<QRadioButton>(box, "control1060")->isChecked());
    EXPECT_EQ(Child<QLineEdit>(box, "control1000")->text(), "0");
}

TEST(AviPropertiesBox, OkGivesTheStandardClickedAndTheWholeNumberTyped) {
    const struct {
        std::int32_t before;
        const char* click;  // radio clicked, or none
        const char* typed;
        AviProperties expected;
    } cases[] = {
        {0, "control1060", "300", {kStandardNtsc, 300}},
        {kStandardNtsc, "control1029", "25x0", {kStandardPal, 250}},  // only digits get in
        {kStandardPal, nullptr, "", {kStandardPal, 0}},                // nothing typed reads as 0
        {0, nullptr, "7", {0, 7}},                                     // neither standard stays neither
    };
    for (const auto& c : cases) {
        auto answer = WithModalAnswer([&] { return AskAviProperties({c.before, 0}, nullptr); },
                                      [&](QDialog& box) {
                                          if (c.click) Child<QRadioButton>(box, c.click)->click();
                                          QLineEdit* frames = Child<QLineEdit>(box, "control1000");
                                          frames->clear();
                                          QTest::keyClicks(frames, QString::fromLatin1(c.typed));
                                          Child<QPushButton>(box, "control1")->click();
                                      });
        ASSERT_TRUE(answer) << c.typed;
        EXPECT_EQ(answer->standard, c.expected.standard) << c.typed;
        EXPECT_EQ(answer->frameCount, c.expected.frameCount) << c.typed;
    }
}

// The custom choice sits apart from the DV standards but is one choice
// with them; its fields show the last custom recording and only take input
// while it is chosen.
TEST(AviPropertiesBox, CustomIsASeparateChoiceWithSizeRateAndTransparency) {
    AviPropertiesDialog box({kStandardNtsc, 0, {1280, 720, {60000, 1001}, true}});
    QRadioButton* custom = Child<QRadioButton>(box, "customRecording");
    ASSERT_TRUE(custom);
    EXPECT_EQ(custom->text(), "Custom");
    EXPECT_NE(custom->parentWidget(), Child<QRadioButton>(box, "control1060")->parentWidget()) << "set apart";
    EXPECT_TRUE(Texts(box).contains(QStringLiteral("For video editors:")));
    bool notedOpaqueFills = false;
    for (const QString& text : Texts(box)) notedOpaqueFills |= text.contains("tunnel") && text.contains("opaque");
    EXPECT_TRUE(notedOpaqueFills) << "the box says the tunnel and the tiles make the picture opaque";
    QSpinBox* width = Child<QSpinBox>(box, "customWidth");
    QSpinBox* height = Child<QSpinBox>(box, "customHeight");
    QComboBox* rate = Child<QComboBox>(box, "customRate");
    QCheckBox* alpha = Child<QCheckBox>(box, "customAlpha");
    EXPECT_EQ(width->value(), 1280);
    EXPECT_EQ(rate->currentText(), "59.94 Fps");
    EXPECT_TRUE(alpha->isChecked());
    EXPECT_FALSE(width->isEnabled()) << "NTSC is chosen";

    custom->click();
    EXPECT_FALSE(Child<QRadioButton>(box, "control1060")->isChecked());
    EXPECT_TRUE(width->isEnabled());
    width->setValue(5000);  // beyond UHD: held at the longest side
    height->setValue(1080);
    rate->setCurrentText(QStringLiteral("25 Fps"));
    alpha->setChecked(false);
    AviProperties chosen = box.Properties();
    EXPECT_EQ(chosen.standard, kStandardCustom);
    EXPECT_EQ(chosen.custom.width, 3840);
    EXPECT_EQ(chosen.custom.height, 1080);
    EXPECT_EQ(chosen.custom.rate, (FrameRate{25, 1}));
    EXPECT_FALSE(chosen.custom.alpha);

    Child<QRadioButton>(box, "control1029")->click();
    EXPECT_FALSE(custom->isChecked());
    EXPECT_EQ(box.Properties().standard, kStandardPal);
}

const std::vector<CompressorInfo> kOffered = {
    {"mjpeg", "Motion JPEG", 95}, {"ffv1", "FFV1 (lossless)", -1}, {"mpeg4", "MPEG-4 Part 2", 95}};

TEST(CompressorBox, OffersTheEncodersWithTheSuggestedOneSelectedAndQualityWhereItExists) {
    CompressorDialog box(kOffered);
    QListWidget* list = Child<QListWidget>(box, "compressors");
    QSlider* quality = Child<QSlider>(box, "quality");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), "FFV1 (lossless)");
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(quality->isEnabled());
    EXPECT_EQ(quality->value(), 95);
    list->setCurrentRow(1);
    EXPECT_FALSE(quality->isEnabled());
    ASSERT_TRUE(box.Choice());
    EXPECT_EQ(box.Choice()->quality, -1) << "no quality for an encoder without one";
    list->setCurrentRow(2);
    quality->setValue(40);
    EXPECT_EQ(box.Choice()->index, 2u);
    EXPECT_EQ(box.Choice()->quality, 40);
}

TEST(CompressorBox, CancelOrNothingOfferedGivesNothingInEitherBox) {
    EXPECT_FALSE(ChooseCompression({}, nullptr));
    EXPECT_FALSE(WithModalAnswer([] { return ChooseCompression(kOffered, nullptr); },
                                 [](QDialog& box) { box.reject(); }));
    EXPECT_FALSE(WithModalAnswer([] { return AskAviProperties({kStandardNtsc, 0}, nullptr); },
                                 [](QDialog& box) { Child<QPushButton>(box, "control2")->click(); }));
}

}  // namespace
}  // namespace quorbel::gui
