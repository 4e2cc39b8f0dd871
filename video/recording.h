// The recording loop: for each frame, clear the pause, render it through the
// frame driver, read it back and hand it to the writer. Reading back happens
// right after the frame is rendered, on the calling thread (the one whose GL
// context is current); encoding runs on a second thread while the next
// frame renders, through a few frame buffers in rotation.
#pragma once

#include <cstdint>

namespace quorbel {

class AviWriter;

// Renders one frame and reads it back into `pixels`: width x height pixels
// of blue, green, red and an ignored fourth byte, bottom row first (the
// layout OpenGL reads back fastest).
class FrameSource {
public:
    virtual ~FrameSource() = default;
    virtual void RenderInto(std::uint8_t* pixels, int width, int height) = 0;
};

// The frame driver, then glReadPixels (GL_BGRA) from (0, 0) of the
// framebuffer and read buffer that are current. The GL context must be
// current.
class SceneFrameSource : public FrameSource {
public:
    void RenderInto(std::uint8_t* pixels, int width, int height) override;
};

// What the recording tells its surroundings while it runs.
class RecordingObserver {
public:
    virtual ~RecordingObserver() = default;
    // Before frame `index` (from 0) of `total` is rendered: advance the
    // progress display and let it repaint.
    virtual void BeforeFrame(int index, int total) = 0;
    // Asked before every frame; true ends the recording early, and what was
    // recorded until then is kept as a complete, shorter file.
    virtual bool StopRequested() { return false; }
};

struct RecordingOutcome {
    bool opened = false;        // the writer was opened (false: cancelled or failed, already reported)
    bool cancelled = false;     // the user cancelled the compressor chooser
    bool saved = false;         // a complete file is at the writer's name
    bool stoppedEarly = false;  // StopRequested ended it before the last frame
    bool writeFailed = false;   // a frame could not be written (reported once; the loop stopped)
    int framesRecorded = 0;     // frames written to the file
    double encodingCpuSeconds = 0;  // processor time of the encoding thread
};

// Frame buffers in rotation: one being filled, one being encoded on each
// encoder lane, one spare so that neither side waits for the other on an
// uneven frame. This is all the memory frames in flight take.
constexpr int RecordingBuffers(int lanes) { return lanes + 2; }

// Opens `writer` (its name, rate and frame size already set; the layout is
// set here), records
// `frameCount` frames from `source` and closes it. A count of 0 or less
// records nothing: no chooser, no file; so does a recording stopped or
// failed before its first frame was written. Failures are reported through
// the platform as they happen.
RecordingOutcome Record(AviWriter& writer, int frameCount, FrameSource& source, RecordingObserver& observer);

}  // namespace quorbel
