// Frames handed from the rendering thread to an encoding thread through a
// few buffers in rotation: while one frame is encoded the next is rendered
// and read back. All buffers are allocated up front; passing a frame
// allocates nothing and frames are consumed in the order they were handed
// over.
#pragma once

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
    // Processor time the encoding thread has used, in seconds; final once
    // Finish has returned.
    double consumerCpuSeconds() const;

private:
    void Run();

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
    std::thread thread_;
};

}  // namespace quorbel
