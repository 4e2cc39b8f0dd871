// Frames handed from the rendering thread to encoding threads through a
// few buffers in rotation: while frames are encoded the next is rendered
// and read back. All buffers are allocated up front; passing a frame
// allocates nothing. Each encoding thread is a lane: lanes encode frames
// side by side, and each encoded frame is written only after the frames
// before it, so the file gets them in the order they were handed over. A
// buffer is free again once its frame is written: at most as many frames
// as buffers are ever in flight.
//
// The encoding thread yields the processor to every other thread of the
// machine: the software rasteriser's workers leave gaps while they wait for
// each other, and the encoder fills those instead of delaying them (on two
// cores that is most of the difference between recording and rendering).
// While every buffer is queued the renderer waits, so the encoders then have
// the processors to themselves; should other programs keep them busy so
// that the renderer waits too long, encoding threads of ordinary priority
// take over for the rest of the recording, one per lane.
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
    // The two steps of a frame on a lane: `encode` (lanes side by side;
    // `number` counts the frames from 0) and `write`, called for the frames
    // in their order, one at a time, and only after `encode` succeeded.
    // Either returns false when the frame could not be written.
    struct Stages {
        std::function<bool(int lane, const std::uint8_t* frame, std::int64_t number)> encode;
        std::function<bool(int lane)> write;
    };

    // Allocates `bufferCount` buffers of `frameBytes` each (throws
    // std::bad_alloc when memory is short) and starts the encoding thread.
    FramePipeline(std::size_t frameBytes, int bufferCount, Consumer consume);
    // As above, with how long the renderer waits for a buffer before the
    // ordinary-priority thread takes over.
    FramePipeline(std::size_t frameBytes, int bufferCount, Consumer consume, std::chrono::milliseconds patience);
    // `lanes` encoding threads (at least one) over `stages`.
    FramePipeline(std::size_t frameBytes, int bufferCount, int lanes, Stages stages,
                  std::chrono::milliseconds patience = kDefaultPatience);
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
    void Start();
    void Run(int lane, bool yielding);
    bool Retired(bool yielding) const { return yielding && handedOver_; }
    void HandOver();

    std::vector<std::vector<std::uint8_t>> buffers_;
    Stages stages_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::int64_t submitted_ = 0;  // frames handed over; frame n is in buffer n % buffers
    std::int64_t taken_ = 0;      // frames a lane has taken
    std::int64_t written_ = 0;    // frames done, in order (written or failed)
    int failures_ = 0;
    double consumerCpuSeconds_ = 0;
    bool finishing_ = false;
    std::vector<char> laneBusy_;  // a lane has a frame, outside the lock
    bool handedOver_ = false;     // the yielding threads stop at their next frame
    std::chrono::milliseconds patience_;
    std::vector<std::thread> threads_;
    std::vector<std::thread> replacements_;
};

}  // namespace quorbel
