#include "video/generate_avi.h"

#include <GL/gl.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "video/alpha_frames.h"
#include "video/avi_writer.h"

namespace quorbel {

namespace {

constexpr int kBlankTextureSide = 128;

struct Recording {
    int width, height;
    FrameRate rate;
    bool alpha;
};

// The standard decides the frame and the rate; the window is sized as it
// always was, while the frames come from a surface of exactly the DV size
// whatever the window manager makes of the window. A custom recording leaves
// the window alone: its surface has the size asked for.
Recording SizeForStandard(GenerateAviHost& host, const GenerateAviState& state) {
    if (const RecordingStandard* standard = FindRecordingStandard(state.recordStandard)) {
        host.ResizeMainWindow(standard->windowWidth, standard->windowHeight);
        return {standard->width, standard->height, standard->rate, false};
    }
    if (state.recordStandard == kStandardCustom)
        return {state.custom.width, state.custom.height, state.custom.rate, state.custom.alpha};
    return {host.ViewWidth(), host.ViewHeight(), {30, 1}, false};
}

// The file to record into: the editors' formats for a custom recording, AVI
// otherwise. Cancelling the chooser ends the command: recording to
// ".avi" in the current folder, or to a name the user never confirmed,
// would surprise.
std::optional<std::string> AskForFile(const GenerateAviState& state) {
    if (state.recordStandard == kStandardCustom)
        return CurrentPlatform().ChooseSaveFile(CustomRecordingFileRequest(state.custom.alpha));
    FileRequest request;
    request.title = "Find a data file";
    request.filters = {{"Avi File (*.avi)", "*.*"}, {"All Files", "*.*"}};
    request.initialName = "";
    return CurrentPlatform().ChooseSaveFile(request);
}

// Records into the named and sized writer on a surface of the frame's size,
// with the progress bar running, then hands the view its context back.
RecordingOutcome RecordScene(GenerateAviHost& host, AviWriter& writer, int frameCount) {
    host.BeginProgress(frameCount);
    RecordingOutcome outcome;
    const BitmapInfoHeader& frame = writer.bitmapInfo;
    if (!host.BeginRecordingSurface(frame.width, frame.height)) {
        ShowError("A " + std::to_string(frame.width) + " x " + std::to_string(frame.height) +
                  " surface to record on could not be made. Nothing was recorded.");
    } else if (writer.alpha) {
        AlphaSceneFrameSource source(frame.width, frame.height);
        outcome = Record(writer, frameCount, source, host);
        host.EndRecordingSurface();
    } else {
        SceneFrameSource source;
        outcome = Record(writer, frameCount, source, host);
        host.EndRecordingSurface();
    }
    host.EndProgress();
    return outcome;
}

// The texture left bound after a recording: an empty 128 x 128 picture, so
// that layers which capture into the bound texture start from black.
void BindBlankTexture(GenerateAviHost& host) {
    host.MakeContextCurrent();
    static const std::vector<std::uint8_t> zeros(kBlankTextureSide * kBlankTextureSide * 4, 0);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, kBlankTextureSide, kBlankTextureSide, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 zeros.data());
}

// After the dialog's OK: sizes the window and the frame for the standard,
// asks for the file and records (unless no frames were asked or the size
// cannot be recorded), then gives the window its usual size back and leaves
// the blank texture bound.
RecordingOutcome RecordWithProperties(GenerateAviHost& host, GenerateAviState& state) {
    AviWriter writer;
    const Recording recording = SizeForStandard(host, state);
    writer.frameRate = recording.rate.frames;
    writer.frameRateScale = recording.rate.seconds;
    writer.alpha = recording.alpha;
    writer.SetBitmapInfoFromView(recording.width, recording.height);
    RecordingOutcome outcome;
    const auto tooLarge = state.recordStandard == kStandardCustom
                              ? CheckRecordingSize(recording.width, recording.height)
                              : std::nullopt;
    if (tooLarge) ShowError(*tooLarge);
    // Nothing to record, or nothing that can be: no file to ask for.
    if (state.recordFrameCount > 0 && !tooLarge) {
        if (auto chosen = AskForFile(state)) {
            writer.fileName = writer.alpha ? NameForTransparentRecording(*chosen) : *chosen;
            writer.EnsureAviExtension();
            outcome = RecordScene(host, writer, state.recordFrameCount);
        }
    }
    if (outcome.cancelled) state.recordFrameCount = 0;
    host.ResizeMainWindow(kRestoredWindowWidth, kRestoredWindowHeight);
    BindBlankTexture(host);
    return outcome;
}

}  // namespace

RecordingOutcome GenerateAvi(GenerateAviHost& host, GenerateAviState& state) {
    state.recordFrameCount = 0;
    host.ReleasePanelDefaultButtons();
    host.ToggleToolbar();
    host.FocusMainWindow();
    RecordingOutcome outcome;
    if (auto properties = host.AskAviProperties({state.recordStandard, 0, state.custom})) {
        state.recordStandard = properties->standard;
        state.recordFrameCount = properties->frameCount;
        state.custom = properties->custom;
        outcome = RecordWithProperties(host, state);
    } else {
        state.recordCancelled = 2;
    }
    state.recordCancelled = 0;
    host.FocusToolbar();
    host.ToggleToolbar();
    state.recordFrameCount = 0;
    return outcome;
}

}  // namespace quorbel
