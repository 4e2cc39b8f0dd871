// Frames handed from the rendering thread to an encoding thread through a
// few buffers in rotation: while one frame is encoded the next is rendered
// and read back. All buffers are allocated up front; passing a frame
// allocates nothing and frames are consumed in the order they were handed
// over.
//
// The encoding thread yields the processor to every other thread of the
// machine: the software rasteriser's workers leave gaps while they wait for
// each other, and the encoder fills those instead of delaying them (on two
// cores that is most of the difference between recording and rendering).
// While every buffer is queued the renderer waits, so the encoder then has
// the processors to itself; should other programs keep them busy so that
// the renderer waits too long, an encoding thread of ordinary priority
// takes over for the rest of the recording.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quorbel {

class FramePipeline {
public:
    // Called on the encoding thread, once per frame, in order; returns false
    // when the frame could not be written.
    using Consumer = std::function<bool(const std::uint8_t* frame)>;

    // Allocates `bufferCount` buffers of `frameBytes` each (throws
    // std::bad_alloc when memory is short) and starts the encoding thread.
    FramePipeline(std::size_t frameBytes, int bufferCount, Consumer consume);
    // As above, with how long the renderer waits for a buffer before the
    // ordinary-priority thread takes over.
    FramePipeline(std::size_t frameBytes, int bufferCount, Consumer consume, std::chrono::milliseconds patience);
    // Finishes first.
    ~FramePipeline();
    FramePipeline(const FramePipeline&) = delete;
    FramePipeline& operator=(const FramePipeline&) = delete;

    // A free buffer to fill, waiting while every buffer is still queued.
    std::uint8_t* Acquire();
    // Queues the buffer Acquire returned.
    void Submit();
    // Waits until every queued frame is consumed and stops the thread.
    void Finish();

    // Frames consumed so far, and how many of them the consumer refused.
    int consumed() const;
    int failures() const;
    // Processor time the encoding threads have used, in seconds; final once
    // Finish has returned.
    double consumerCpuSeconds() const;
    // Whether the ordinary-priority thread had to take over.
    bool handedOver() const;

    static constexpr std::chrono::milliseconds kDefaultPatience{250};

private:
    void Run(bool yielding);
    void HandOver();

    std::vector<std::vector<std::uint8_t>> buffers_;
    Consumer consume_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t nextFill_ = 0;     // the buffer Acquire hands out next
    std::size_t nextConsume_ = 0;  // the buffer the thread takes next
    std::size_t queued_ = 0;       // filled, not yet consumed (the one being consumed included)
    int consumed_ = 0;
    int failures_ = 0;
    double consumerCpuSeconds_ = 0;
    bool finishing_ = false;
    bool consuming_ = false;   // a frame is being consumed, outside the lock
    bool handedOver_ = false;  // the yielding thread stops at its next frame
    std::chrono::milliseconds patience_;
    std::thread thread_;
    std::thread replacement_;
};

}  // namespace quorbel
