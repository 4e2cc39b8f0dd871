// The Generate AVI command: asks for a video standard and a number of
// frames, sizes the recording surface to the DV frame of that standard,
// asks for a file, and records the live scene through the frame driver, with
// progress. The window's part (dialog, toolbar, window size, progress bar,
// the offscreen surface, Escape to stop) is the host's; the order of the
// steps and every decision are here, so the command behaves the same
// whichever window runs it.
#pragma once

#include <cstdint>
#include <optional>

#include "video/custom_recording.h"
#include "video/recording.h"
#include "video/recording_standards.h"

namespace quorbel {

// The command's own values, kept by the main window from one recording to
// the next.
struct GenerateAviState {
    std::int32_t recordFrameCount = 0;  // set by the dialog; 0 outside a recording
    std::int32_t recordStandard = 0;    // a standard's code, kStandardCustom, anything else neither
    std::int32_t recordCancelled = 0;   // 2 after the dialog's Cancel, during the command
    CustomRecording custom;             // the custom choice's size, rate and background
};

// With kStandardCustom the window is left as it is (the frames come from a
// surface of `custom`'s size) and the file chooser offers the editors'
// formats.

// What the AVI Properties dialog answers.
struct AviProperties {
    std::int32_t standard = 0;
    std::int32_t frameCount = 0;
    CustomRecording custom{};  // shown, and answered, whatever the standard
};

class GenerateAviHost : public RecordingObserver {
public:
    // The modal "AVI Properties" dialog, showing `current`; nothing on Cancel.
    virtual std::optional<AviProperties> AskAviProperties(const AviProperties& current) = 0;
    // Lets open panels give up their default buttons while the command runs.
    virtual void ReleasePanelDefaultButtons() {}
    // Shows a shown toolbar hidden and a hidden one shown.
    virtual void ToggleToolbar() = 0;
    virtual void FocusMainWindow() {}
    virtual void FocusToolbar() {}
    virtual void ResizeMainWindow(int width, int height) = 0;
    // The view's client size, for a recording at neither standard.
    virtual int ViewWidth() = 0;
    virtual int ViewHeight() = 0;
    // Makes the view's GL context current.
    virtual void MakeContextCurrent() = 0;
    // Makes the context current and directs the frames to a surface of
    // exactly width x height, with the scene's projection set for it; the
    // read buffer is that surface. False when no such surface can be had.
    virtual bool BeginRecordingSurface(int width, int height) = 0;
    // Back to the view, with its own projection.
    virtual void EndRecordingSurface() = 0;
    // The progress bar: its range 0 to `total`, step 1; and back to 0.
    virtual void BeginProgress(int total) = 0;
    virtual void EndProgress() = 0;
    // BeforeFrame (from RecordingObserver) advances the bar one step and
    // lets it repaint; StopRequested is where Escape ends the recording.
};

// The size the main window goes back to after a recording (each standard
// has the size it sets for the recording).
constexpr int kRestoredWindowWidth = 800, kRestoredWindowHeight = 600;

// Runs the whole command. Returns what the recording did (nothing opened
// when the dialog, the file chooser or the compressor chooser was cancelled
// or no frames were asked).
RecordingOutcome GenerateAvi(GenerateAviHost& host, GenerateAviState& state);

}  // namespace quorbel
