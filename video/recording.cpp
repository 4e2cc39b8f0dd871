#include "video/recording.h"

#include <GL/gl.h>

#include <memory>
#include <new>
#include <string>
#include <system_error>

#include "platform/platform.h"
#include "scene/frame_driver.h"
#include "scene/scene_state.h"
#include "video/avi_messages.h"
#include "video/avi_writer.h"
#include "video/frame_pipeline.h"

namespace quorbel {

namespace {

constexpr const char* kNoMemoryMessage =
    "There is not enough memory for the recording's frame buffers. Nothing was recorded.";

// The loop proper, with the writer open. Returns the frames handed over.
int RecordFrames(AviWriter& writer, int frameCount, FrameSource& source, RecordingObserver& observer,
                 FramePipeline& pipeline, RecordingOutcome& outcome) {
    const int width = writer.bitmapInfo.width, height = writer.bitmapInfo.height;
    int frame = 0;
    for (; frame < frameCount; ++frame) {
        if (observer.StopRequested()) {
            outcome.stoppedEarly = true;
            break;
        }
        // A write that failed means a full disk or a broken encoder: the
        // frames after it would fail alike, so stop rather than go on.
        if (pipeline.failures() > 0) break;
        // Recording always moves, even when the scene was paused before.
        scene.paused = 0;
        observer.BeforeFrame(frame, frameCount);
        source.RenderInto(pipeline.Acquire(), width, height);
        pipeline.Submit();
    }
    return frame;
}

// The buffers and the encoding thread; null after a message (and with the
// writer's file discarded) when either cannot be had.
std::unique_ptr<FramePipeline> StartPipeline(AviWriter& writer) {
    try {
        const int lanes = writer.encoderLanes();
        FramePipeline::Stages stages{
            [&writer](int lane, const std::uint8_t* pixels, std::int64_t number) {
                return writer.EncodeFrameOn(lane, pixels, number);
            },
            [&writer](int lane) { return writer.WriteEncodedFrame(lane); }};
        return std::make_unique<FramePipeline>(writer.frameBytes(), RecordingBuffers(lanes), lanes,
                                               std::move(stages));
    } catch (const std::bad_alloc&) {
        ShowError(kNoMemoryMessage);
    } catch (const std::system_error& error) {
        ShowError(std::string("The recording could not start its encoding thread (") + error.what() +
                  "). Nothing was recorded.");
    }
    writer.Discard();
    return nullptr;
}

}  // namespace

void SceneFrameSource::RenderInto(std::uint8_t* pixels, int width, int height) {
    RenderFrame();
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
}

RecordingOutcome Record(AviWriter& writer, int frameCount, FrameSource& source, RecordingObserver& observer) {
    RecordingOutcome outcome;
    if (frameCount <= 0) return outcome;
    writer.frameLayout = FrameLayout::Bgrx32;
    outcome.opened = writer.Open();
    outcome.cancelled = writer.cancelled();
    if (!outcome.opened) return outcome;
    auto pipeline = StartPipeline(writer);
    if (!pipeline) return outcome;
    RecordFrames(writer, frameCount, source, observer, *pipeline, outcome);
    pipeline->Finish();
    outcome.writeFailed = pipeline->failures() > 0;
    outcome.framesRecorded = pipeline->consumed() - pipeline->failures();
    outcome.encodingCpuSeconds = pipeline->consumerCpuSeconds();
    if (outcome.writeFailed) ShowError(kWriteFailedMessage);
    if (outcome.framesRecorded == 0) {
        writer.Discard();  // stopped or failed before the first frame: an empty video helps nobody
        return outcome;
    }
    outcome.saved = writer.Close();
    return outcome;
}

}  // namespace quorbel
