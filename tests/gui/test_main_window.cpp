// The main window's widgets: the tip item, prompts in the status bar, and
// messages held until a frame is done.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "app/gui/main_frame.h"
#include "app/gui/pravik_view.h"
#include "app/gui/qt_platform.h"
#include "app/gui/shell_hooks.h"
#include "commands/command_ids.h"
#include "scene/scene_state.h"

namespace quorbel::gui {
namespace {

using namespace command;

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        scene = SceneState{};
        frame = std::make_unique<CMainFrame>();
        platform = std::make_unique<QtPlatform>(*frame);
        SetPlatform(platform.get());
        InstallShellHooks(*frame);
    }
    void TearDown() override {
        RemoveShellHooks();
        SetPlatform(nullptr);
        platform.reset();
        frame.reset();
    }

    // "text" for an item, "-" for a separator.
    static QStringList ItemTexts(QMenu* menu) {
        QStringList texts;
        for (QAction* action : menu->actions()) texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return texts;
    }
    QMenu* Menu(const QString& title) {
        for (QAction* action : frame->menuBar()->actions())
            if (action->text() == title) return action->menu();
        return nullptr;
    }
    QToolButton* Button(int command) {
        return qobject_cast<QToolButton*>(frame->ToolBar()->widgetForAction(frame->CommandAction(command)));
    }

    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<QtPlatform> platform;
};

TEST_F(MainWindow, TheTipItemIsAddedOnceAndAHelpMenuIsMadeWhenMissing) {
    AddTipOfTheDayItem(*frame, frame->CommandAction(kTipOfTheDay));
    EXPECT_EQ(ItemTexts(Menu("&Help")).count("Ti&p of the Day..."), 1);
    QMainWindow bare;
    QAction tip(QStringLiteral("Ti&p of the Day..."));
    AddTipOfTheDayItem(bare, &tip);
    ASSERT_EQ(bare.menuBar()->actions().size(), 1);
    EXPECT_EQ(bare.menuBar()->actions()[0]->text(), "&Help");
    EXPECT_EQ(ItemTexts(bare.menuBar()->actions()[0]->menu()), QStringList({"Ti&p of the Day..."}));
}

// The window is never shown here: a shown OpenGL view cannot be composed on
// the offscreen platform. Enter and leave events reach the buttons directly.
TEST_F(MainWindow, HoveringAButtonShowsItsPromptInTheMessagePaneAndNoTooltip) {
    struct Row {
        int command;
        const char* prompt;
    };
    const Row rows[] = {
        {kNewSettings, "Reset to default settings"},
        {kEditBlur, ""},
    };
    for (const Row& row : rows) {
        QToolButton* button = Button(row.command);
        ASSERT_TRUE(button) << row.command;
        frame->MessagePane()->setText(QStringLiteral("before"));
        QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), button->mapToGlobal(QPointF(4, 4)));
        QApplication::sendEvent(button, &enter);
        EXPECT_EQ(frame->MessagePane()->text(), row.command == kEditBlur ? "before" : row.prompt) << row.command;
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
        EXPECT_EQ(frame->MessagePane()->text(), row.command == kEditBlur ? "before" : "") << row.command;
        QHelpEvent tip(QEvent::ToolTip, QPoint(4, 4), button->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(button, &tip);
        EXPECT_FALSE(QToolTip::isVisible()) << row.command;
    }
    EXPECT_TRUE(frame->statusBar()->currentMessage().isEmpty()) << "prompts never cover the other panes";
}

TEST_F(MainWindow, AMessageFromInsideAFrameWaitsUntilTheFrameIsDone) {
    {
        CPravikView::PaintScope painting(*frame->View());
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(CurrentPlatform().ShowMessage("Unable to load texture", "Quorbel"), MessageAnswer::Ok);
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no modal box inside a frame";
    }
    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    closer.start(10);
    for (int round = 0; round < 50 && shown.isEmpty(); ++round) QTest::qWait(10);
    EXPECT_EQ(shown, "Unable to load texture") << "shown once the frame is over";
}

}  // namespace
}  // namespace quorbel::gui
