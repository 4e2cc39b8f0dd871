#include "video/frame_pipeline.h"

#include <ctime>

namespace quorbel {

FramePipeline::FramePipeline(std::size_t frameBytes, int bufferCount, Consumer consume)
    : buffers_(static_cast<std::size_t>(bufferCount < 1 ? 1 : bufferCount), std::vector<std::uint8_t>(frameBytes)),
      consume_(std::move(consume)),
      thread_([this] { Run(); }) {}

FramePipeline::~FramePipeline() { Finish(); }

std::uint8_t* FramePipeline::Acquire() {
    std::unique_lock lock(mutex_);
    // A buffer stays busy from Submit until the thread has consumed it.
    changed_.wait(lock, [this] { return queued_ < buffers_.size(); });
    return buffers_[nextFill_].data();
}

void FramePipeline::Submit() {
    {
        std::lock_guard lock(mutex_);
        nextFill_ = (nextFill_ + 1) % buffers_.size();
        ++queued_;
    }
    changed_.notify_all();
}

void FramePipeline::Finish() {
    {
        std::lock_guard lock(mutex_);
        finishing_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

int FramePipeline::consumed() const {
    std::lock_guard lock(mutex_);
    return consumed_;
}

int FramePipeline::failures() const {
    std::lock_guard lock(mutex_);
    return failures_;
}

double FramePipeline::consumerCpuSeconds() const {
    std::lock_guard lock(mutex_);
    return consumerCpuSeconds_;
}

namespace {
double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}
}  // namespace

void FramePipeline::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return queued_ > 0 || finishing_; });
        if (queued_ == 0) {  // finishing, and everything handed over is done
            consumerCpuSeconds_ = ThreadCpuSeconds();
            return;
        }
        const std::uint8_t* frame = buffers_[nextConsume_].data();
        lock.unlock();
        const bool written = consume_(frame);
        lock.lock();
        nextConsume_ = (nextConsume_ + 1) % buffers_.size();
        --queued_;
        ++consumed_;
        if (!written) ++failures_;
        changed_.notify_all();
    }
}

}  // namespace quorbel
