#include "video/frame_pipeline.h"

#include <pthread.h>
#include <sched.h>

#include <ctime>
#include <system_error>

namespace quorbel {

FramePipeline::FramePipeline(std::size_t frameBytes, int bufferCount, Consumer consume)
    : FramePipeline(frameBytes, bufferCount, std::move(consume), kDefaultPatience) {}

FramePipeline::FramePipeline(std::size_t frameBytes, int bufferCount, Consumer consume,
                             std::chrono::milliseconds patience)
    : buffers_(static_cast<std::size_t>(bufferCount < 1 ? 1 : bufferCount), std::vector<std::uint8_t>(frameBytes)),
      consume_(std::move(consume)),
      patience_(patience),
      thread_([this] { Run(true); }) {}

FramePipeline::~FramePipeline() { Finish(); }

std::uint8_t* FramePipeline::Acquire() {
    std::unique_lock lock(mutex_);
    // A buffer stays busy from Submit until the thread has consumed it.
    const auto bufferFree = [this] { return queued_ < buffers_.size(); };
    if (!changed_.wait_for(lock, patience_, bufferFree) && !handedOver_) HandOver();
    changed_.wait(lock, bufferFree);
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
        std::unique_lock lock(mutex_);
        finishing_ = true;
        changed_.notify_all();
        // The last frames are owed to the user too.
        if (!changed_.wait_for(lock, patience_, [this] { return queued_ == 0; }) && !handedOver_) HandOver();
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
    if (replacement_.joinable()) replacement_.join();
}

// Called with the lock held. Should no thread be available, the yielding
// one simply carries on.
void FramePipeline::HandOver() {
    try {
        replacement_ = std::thread([this] { Run(false); });
    } catch (const std::system_error&) {
        return;
    }
    handedOver_ = true;
    changed_.notify_all();
}

bool FramePipeline::handedOver() const {
    std::lock_guard lock(mutex_);
    return handedOver_;
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

// Runs only when no other thread of the machine wants the processor. Where
// the system refuses, the thread keeps ordinary priority.
void YieldToEveryone() {
    sched_param none{};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &none);
}

}  // namespace

void FramePipeline::Run(bool yielding) {
    if (yielding) YieldToEveryone();
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] {
            return (yielding && handedOver_) || (!consuming_ && (queued_ > 0 || finishing_));
        });
        // Retired, or finishing with everything handed over done.
        if ((yielding && handedOver_) || queued_ == 0) {
            consumerCpuSeconds_ += ThreadCpuSeconds();
            return;
        }
        const std::uint8_t* frame = buffers_[nextConsume_].data();
        consuming_ = true;
        lock.unlock();
        const bool written = consume_(frame);
        lock.lock();
        consuming_ = false;
        nextConsume_ = (nextConsume_ + 1) % buffers_.size();
        --queued_;
        ++consumed_;
        if (!written) ++failures_;
        changed_.notify_all();
    }
}

}  // namespace quorbel
