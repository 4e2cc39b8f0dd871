// The main window: menu, toolbar and status bar around the OpenGL view,
// built from the command tables. Every menu item, toolbar button and
// accelerator runs its command through the core's dispatcher; the window
// only shows what the core asks for (check marks, prompts, dialogs).
#pragma once

#include <QMainWindow>
#include <map>

#include "app/gui/pravik_doc.h"

class QLabel;
class QToolBar;

namespace quorbel::gui {

class CPravikView;

inline constexpr int kStartWidth = 800;
inline constexpr int kStartHeight = 600;

class CMainFrame : public QMainWindow {
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    CPravikView* View() const { return view_; }
    QToolBar* ToolBar() const { return toolbar_; }
    // The action of a command (menu item, toolbar button or accelerator);
    // null for a number the window does not offer.
    QAction* CommandAction(int command) const;

    void SetCommandChecked(int command, bool checked);
    // The message pane, where prompts and status texts appear.
    QLabel* MessagePane() const { return messagePane_; }
    // The first pane, kept free for the recording's progress bar.
    QLabel* ProgressPane() const { return progressPane_; }
    void RefreshLockIndicators();

    void ToggleToolbar();
    void ToggleStatusBar();

    CPravikDoc& Document() { return document_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* MakeAction(int command, const QString& text);
    void CreateMenus();
    void CreateToolbar();
    void CreateStatusBar();
    void CreateAccelerators();
    void RunCommand(int command);

    CPravikView* view_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QLabel* progressPane_ = nullptr;
    QLabel* messagePane_ = nullptr;
    QLabel* capsPane_ = nullptr;
    QLabel* numPane_ = nullptr;
    QLabel* scrollPane_ = nullptr;
    std::map<int, QAction*> actions_;
    CPravikDoc document_;
};

// Puts "Ti&p of the Day..." and a separator at the top of the "&Help" menu
// unless it is there already; without a "&Help" menu, adds one holding the
// item. Safe to run on every menu set-up.
void AddTipOfTheDayItem(QMainWindow& window, QAction* tipAction);

}  // namespace quorbel::gui
