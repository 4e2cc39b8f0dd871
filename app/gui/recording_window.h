// Generate AVI in the window: the core's command with the window's parts —
// the AVI Properties box, the toolbar, the window size, the progress bar in
// the status bar's first pane, an offscreen surface of exactly the DV size
// whose frames the view shows while recording, and Escape to stop early.
#pragma once

#include <QObject>
#include <optional>

#include "app/gui/pravik_view.h"
#include "video/generate_avi.h"
#include "video/recording_surface.h"

class QProgressBar;

namespace quorbel::gui {

class CMainFrame;

class RecordingWindow : public QObject, public GenerateAviHost {
public:
    explicit RecordingWindow(CMainFrame& frame);
    ~RecordingWindow() override;

    // Runs the Generate AVI command once.
    RecordingOutcome Run();

    std::optional<AviProperties> AskAviProperties(const AviProperties& current) override;
    void ReleasePanelDefaultButtons() override;
    void ToggleToolbar() override;
    void FocusMainWindow() override;
    void FocusToolbar() override;
    void ResizeMainWindow(int width, int height) override;
    int ViewWidth() override;
    int ViewHeight() override;
    void MakeContextCurrent() override;
    bool BeginRecordingSurface(int width, int height) override;
    void EndRecordingSurface() override;
    void BeginProgress(int total) override;
    void EndProgress() override;
    void BeforeFrame(int index, int total) override;
    bool StopRequested() override { return stopRequested_; }

    QProgressBar* progressBar() const { return progress_; }

protected:
    // While frames are recorded: Escape stops; other input and closing wait,
    // except in a modal box the recording shows.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LetTheWindowRepaint();
    void BlockInput(bool block);

    CMainFrame& frame_;
    GenerateAviState state_;
    RecordingSurface surface_;
    std::optional<CPravikView::PaintScope> holdViewFrames_;
    QProgressBar* progress_ = nullptr;
    bool running_ = false;    // the command is under way (its dialogs included)
    bool recording_ = false;  // frames are being recorded: input is blocked
    bool stopRequested_ = false;
    qint64 lastRepaintMs_ = 0;
};

// Connects the Generate Avi command to `frame` (and disconnects it).
void InstallRecordingCommand(CMainFrame& frame);
void RemoveRecordingCommand();

}  // namespace quorbel::gui
