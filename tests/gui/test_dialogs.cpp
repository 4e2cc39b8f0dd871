// The About and Tip of the Day boxes: their texts and what their buttons do.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <fstream>

#include "app/gui/about_dialog.h"
#include "app/gui/tip_dialog.h"
#include "support/scripted_platform.h"
#include "support/gl_test_env.h"

namespace quorbel::gui {
namespace {

template <typename T>
T* Child(QWidget& parent, const char* name) {
    return parent.findChild<T*>(QString::fromLatin1(name));
}

TEST(AboutBox, VisitOpensOurHomePage) {
    ScopedScriptedPlatform platform;
    AboutDialog about;
    QPushButton* visit = Child<QPushButton>(about, "control1010");
    ASSERT_TRUE(visit);
    visit->click();
    ASSERT_EQ(platform->openedPages.size(), 1u);
    EXPECT_NE(platform->openedPages[0].find("index.html"), std::string::npos);
}

class TipBox : public ::testing::Test {
protected:
    void SetUp() override { folder = std::make_unique<testing::TempDirectory>(); }
    void TearDown() override { folder.reset(); }
    ScopedScriptedPlatform platform;
    std::unique_ptr<testing::TempDirectory> folder;
};

TEST_F(TipBox, ShowsItsTextsTheTipAndStepsThroughTheFile) {
    std::ofstream("tips.txt") << "; comment\nFirst\nSecond\n";
    TipOfTheDay tips;
    TipDialog dialog(tips);
    EXPECT_EQ(dialog.windowTitle(), "Tip of the Day");
    QLabel* tip = Child<QLabel>(dialog, "control1004");
    EXPECT_EQ(tip->text(), "First");
    QPushButton* next = Child<QPushButton>(dialog, "control1002");
    EXPECT_EQ(next->text(), "&Next Tip");
    next->click();
    EXPECT_EQ(tip->text(), "Second");
    next->click();
    EXPECT_EQ(tip->text(), "First");
}

TEST_F(TipBox, CloseStoresTheStartUpCheckAndEscapeDoesNot) {
    std::ofstream("tips.txt") << "Only\n";
    {
        TipOfTheDay tips;
        TipDialog dialog(tips);
        QCheckBox* check = Child<QCheckBox>(dialog, "control1001");
        EXPECT_EQ(check->text(), "&Show Tips on StartUp");
        EXPECT_TRUE(check->isChecked());
        check->setChecked(false);
        dialog.reject();  // Escape
        EXPECT_EQ(platform->profile.count("Tip/StartUp"), 0u);
        QPushButton* close = Child<QPushButton>(dialog, "control1");
        EXPECT_EQ(close->text(), "&Close");
        close->click();
    }
    EXPECT_EQ(platform->profile["Tip/StartUp"], "1");
    TipOfTheDay again;
    EXPECT_FALSE(again.showAtStartup());
}

TEST_F(TipBox, AMissingFileIsSaidAndNextTipIsOff) {
    TipOfTheDay tips;
    TipDialog dialog(tips);
    EXPECT_EQ(Child<QLabel>(dialog, "control1004")->text(), "Tips file does not exist in the prescribed directory");
    EXPECT_FALSE(Child<QPushButton>(dialog, "control1002")->isEnabled());
}

}  // namespace
}  // namespace quorbel::gui
