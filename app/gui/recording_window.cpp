#include "app/gui/recording_window.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

#include "app/gui/avi_properties_dialog.h"
#include "app/gui/main_frame.h"
#include "commands/commands.h"
#include "commands/panel_hooks.h"

namespace quorbel::gui {

namespace {

// How often the window gets to repaint during a recording: often enough for
// a live progress bar and picture, rarely enough to cost next to nothing.
constexpr qint64 kRepaintEveryMs = 40;

int DevicePixels(const QWidget& widget, int logical) {
    return static_cast<int>(std::lround(logical * widget.devicePixelRatioF()));
}

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::Close:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
    }
}

std::unique_ptr<RecordingWindow> installed;

}  // namespace

RecordingWindow::RecordingWindow(CMainFrame& frame) : frame_(frame) {}

RecordingWindow::~RecordingWindow() = default;

RecordingOutcome RecordingWindow::Run() {
    if (running_) return {};
    running_ = true;
    RecordingOutcome outcome = GenerateAvi(*this, state_);
    running_ = false;
    return outcome;
}

std::optional<AviProperties> RecordingWindow::AskAviProperties(const AviProperties& current) {
    return gui::AskAviProperties(current, &frame_);
}

void RecordingWindow::ReleasePanelDefaultButtons() { ReleaseEveryDefaultButtonSlot(); }

void RecordingWindow::ToggleToolbar() { frame_.ToggleToolbar(); }
void RecordingWindow::FocusMainWindow() { frame_.activateWindow(); }
void RecordingWindow::FocusToolbar() {
    if (frame_.ToolBar()) frame_.ToolBar()->setFocus();
}

void RecordingWindow::ResizeMainWindow(int width, int height) {
    if (frame_.isMaximized() || frame_.isFullScreen()) return;  // the user's choice of size wins
    frame_.resize(width, height);
}

int RecordingWindow::ViewWidth() { return DevicePixels(*frame_.View(), frame_.View()->width()); }
int RecordingWindow::ViewHeight() { return DevicePixels(*frame_.View(), frame_.View()->height()); }

void RecordingWindow::MakeContextCurrent() { frame_.View()->MakeContextCurrent(); }

bool RecordingWindow::BeginRecordingSurface(int width, int height) {
    if (!frame_.View()->MakeContextCurrent()) return false;
    if (!surface_.Begin(width, height)) return false;
    // The view draws no frames of its own while the recording draws them.
    holdViewFrames_.emplace(*frame_.View());
    stopRequested_ = false;
    // Input is not blocked yet: the compressor chooser is still to come, and
    // it must take clicks and keys. The block begins with the first frame.
    return true;
}

void RecordingWindow::EndRecordingSurface() {
    BlockInput(false);
    frame_.View()->MakeContextCurrent();
    surface_.End(ViewWidth(), ViewHeight());
    holdViewFrames_.reset();
    frame_.View()->ResumeAnimation();
}

void RecordingWindow::BeginProgress(int total) {
    if (!progress_) {
        progress_ = new QProgressBar(frame_.ProgressPane());
        progress_->setObjectName(QStringLiteral("recordingProgress"));
        progress_->setTextVisible(false);
        auto* layout = new QVBoxLayout(frame_.ProgressPane());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(progress_);
    }
    progress_->setRange(0, total);
    progress_->setValue(0);
    progress_->show();
}

void RecordingWindow::EndProgress() {
    if (progress_) progress_->setValue(0);
}

void RecordingWindow::BeforeFrame(int index, int total) {
    // The writer is open once frames are asked for: from here until the end
    // only Escape reaches the window and the panels.
    if (index == 0) BlockInput(true);
    if (progress_) progress_->setValue(std::min(index + 1, total));
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (index > 0 && now - lastRepaintMs_ < kRepaintEveryMs) return;
    lastRepaintMs_ = now;
    LetTheWindowRepaint();
}

void RecordingWindow::BlockInput(bool block) {
    if (block == recording_) return;
    recording_ = block;
    if (block) qApp->installEventFilter(this);
    else qApp->removeEventFilter(this);
}

void RecordingWindow::LetTheWindowRepaint() {
    CPravikView& view = *frame_.View();
    view.MakeContextCurrent();
    surface_.CopyTo(view.defaultFramebufferObject(), ViewWidth(), ViewHeight());
    view.update();
    QApplication::processEvents();
    // Painting may have made another context current or bound the view's
    // own framebuffer: the next frame goes to the surface again.
    view.MakeContextCurrent();
    surface_.Bind();
}

bool RecordingWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!recording_ || !IsUserInput(event->type())) return QObject::eventFilter(watched, event);
    // A box the recording raises (a write failure, say) is modal and keeps
    // everything else blocked by itself; it must be answerable.
    if (QApplication::activeModalWidget()) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        stopRequested_ = true;
    if (event->type() == QEvent::Close) event->ignore();
    return true;
}

void InstallRecordingCommand(CMainFrame& frame) {
    installed = std::make_unique<RecordingWindow>(frame);
    ShellCommandHooks().generateAvi = [] {
        if (installed) installed->Run();
    };
}

void RemoveRecordingCommand() {
    ShellCommandHooks().generateAvi = nullptr;
    installed.reset();
}

}  // namespace quorbel::gui
