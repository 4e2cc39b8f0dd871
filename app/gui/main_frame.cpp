#include "app/gui/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

#include "app/gui/artwork.h"
#include "app/gui/lock_keys.h"
#include "app/gui/pravik_view.h"
#include "commands/command_ids.h"
#include "commands/command_table.h"
#include "commands/commands.h"

namespace quorbel::gui {

namespace {

QString CommandObjectName(int command) { return QStringLiteral("command%1").arg(command); }

// The blank first pane is as wide as 30 spaces: room for the progress bar.
constexpr int kProgressPaneSpaces = 30;

QLabel* MakePane(QWidget* parent, const QString& objectName) {
    auto* pane = new QLabel(parent);
    pane->setObjectName(objectName);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return pane;
}

}  // namespace

void AddTipOfTheDayItem(QMainWindow& window, QAction* tipAction) {
    for (QAction* top : window.menuBar()->actions()) {
        QMenu* menu = top->menu();
        if (!menu || top->text() != kHelpMenuTitle) continue;
        const QList<QAction*> items = menu->actions();
        if (!items.isEmpty() && items.first()->text() == kTipOfTheDayItemText) return;
        QAction* first = items.isEmpty() ? nullptr : items.first();
        menu->insertAction(first, tipAction);
        menu->insertSeparator(first);
        return;
    }
    QMenu* help = window.menuBar()->addMenu(kHelpMenuTitle);
    help->addAction(tipAction);
}

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(kApplicationName);
    setWindowIcon(QIcon(QPixmap::fromImage(AppIcon(64))));
    resize(kStartWidth, kStartHeight);
    // The bars stay where the user put them; no menu offers to hide them
    // behind the View menu's back.
    setContextMenuPolicy(Qt::PreventContextMenu);
    view_ = new CPravikView(this);
    setCentralWidget(view_);
    CreateMenus();
    CreateToolbar();
    CreateStatusBar();
    CreateAccelerators();
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() { qApp->removeEventFilter(this); }

QAction* CMainFrame::CommandAction(int command) const {
    auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* CMainFrame::MakeAction(int command, const QString& text) {
    if (QAction* existing = CommandAction(command)) return existing;
    auto* action = new QAction(text, this);
    action->setObjectName(CommandObjectName(command));
    if (auto prompt = CommandPrompt(command))
        action->setStatusTip(QString::fromUtf8(prompt->statusText.data(), prompt->statusText.size()));
    connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
    actions_[command] = action;
    return action;
}

void CMainFrame::CreateMenus() {
    for (const Menu& menu : MainMenu()) {
        QMenu* qtMenu = menuBar()->addMenu(menu.title);
        for (const MenuItem& item : menu.items) {
            QAction* action = MakeAction(item.command, item.text);
            action->setCheckable(item.checkable);
            action->setChecked(item.checkedAtStart);
            qtMenu->addAction(action);
        }
    }
    AddTipOfTheDayItem(*this, MakeAction(command::kTipOfTheDay, kTipOfTheDayItemText));
}

void CMainFrame::CreateToolbar() {
    toolbar_ = new QToolBar(QStringLiteral("Toolbar"), this);
    toolbar_->setObjectName(QStringLiteral("toolbar"));
    toolbar_->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar_->setMovable(true);  // with its gripper
    toolbar_->setFloatable(true);
    toolbar_->setAllowedAreas(Qt::AllToolBarAreas);
    int group = 0;
    for (const ToolbarButton& button : Toolbar()) {
        if (group != 0 && button.group != group) toolbar_->addSeparator();
        group = button.group;
        auto prompt = CommandPrompt(button.command);
        QString name = prompt ? QString::fromUtf8(prompt->shortName.data(), prompt->shortName.size()) : QString();
        QAction* action = MakeAction(button.command, name);
        if (action->icon().isNull()) action->setIcon(QIcon(QPixmap::fromImage(ToolbarIcon(button.command))));
        action->setIconVisibleInMenu(false);
        toolbar_->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, toolbar_);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(true);
    progressPane_ = MakePane(bar, QStringLiteral("progressPane"));
    progressPane_->setFixedWidth(fontMetrics().horizontalAdvance(QString(kProgressPaneSpaces, QLatin1Char(' '))));
    messagePane_ = MakePane(bar, QStringLiteral("messagePane"));
    QScreen* screen = QGuiApplication::primaryScreen();
    messagePane_->setFixedWidth(screen ? screen->geometry().width() / 4 : 200);
    bar->addWidget(progressPane_);
    bar->addWidget(messagePane_);
    capsPane_ = MakePane(bar, QStringLiteral("capsPane"));
    numPane_ = MakePane(bar, QStringLiteral("numPane"));
    scrollPane_ = MakePane(bar, QStringLiteral("scrollPane"));
    for (QLabel* indicator : {capsPane_, numPane_, scrollPane_}) {
        indicator->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 8);
        indicator->setAlignment(Qt::AlignCenter);
        bar->addPermanentWidget(indicator);
    }
    RefreshLockIndicators();
}

void CMainFrame::CreateAccelerators() {
    for (const Accelerator& accelerator : Accelerators()) {
        auto* action = new QAction(this);
        action->setObjectName(CommandObjectName(accelerator.command));
        action->setShortcut(QKeySequence(QString::fromLatin1(accelerator.keys)));
        connect(action, &QAction::triggered, this, [this, command = accelerator.command] { RunCommand(command); });
        addAction(action);
        actions_[accelerator.command] = action;
    }
}

void CMainFrame::RunCommand(int command) {
    ExecuteCommand(command);
    view_->ResumeAnimation();
}

void CMainFrame::SetCommandChecked(int command, bool checked) {
    if (QAction* action = CommandAction(command)) action->setChecked(checked);
}

void CMainFrame::RefreshLockIndicators() {
    LockKeys keys = ReadLockKeys();
    capsPane_->setText(keys.caps ? QStringLiteral("CAP") : QString());
    numPane_->setText(keys.num ? QStringLiteral("NUM") : QString());
    scrollPane_->setText(keys.scroll ? QStringLiteral("SCRL") : QString());
}

void CMainFrame::ToggleToolbar() {
    toolbar_->setVisible(toolbar_->isHidden());
    SetCommandChecked(command::kToggleToolbar, !toolbar_->isHidden());
}

void CMainFrame::ToggleStatusBar() {
    statusBar()->setVisible(statusBar()->isHidden());
    SetCommandChecked(command::kToggleStatusBar, !statusBar()->isHidden());
}

// Prompts go to the message pane, not over the status bar's other panes.
bool CMainFrame::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        messagePane_->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ToolTip:
            // The toolbar shows its prompts in the status bar, never as tips.
            if (auto* button = qobject_cast<QToolButton*>(watched); button && button->parentWidget() == toolbar_)
                return true;
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::WindowActivate: RefreshLockIndicators(); break;
        default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::ActivationChange)
        view_->ResumeAnimation();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    event->accept();
    // Panels are windows of their own; closing the main window ends the
    // program whatever they show.
    QCoreApplication::quit();
}

}  // namespace quorbel::gui
