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
    : FramePipeline(frameBytes, bufferCount, 1,
                    Stages{[consume = std::move(consume)](int, const std::uint8_t* frame, std::int64_t) {
                               return consume(frame);
                           },
                           [](int) { return true; }},
                    patience) {}

FramePipeline::FramePipeline(std::size_t frameBytes, int bufferCount, int lanes, Stages stages,
                             std::chrono::milliseconds patience)
    : buffers_(static_cast<std::size_t>(bufferCount < 1 ? 1 : bufferCount), std::vector<std::uint8_t>(frameBytes)),
      stages_(std::move(stages)),
      laneBusy_(static_cast<std::size_t>(lanes < 1 ? 1 : lanes), 0),
      patience_(patience) {
    Start();
}

// Should a later lane's thread not start, the recording goes on with the
// lanes that did; without any it cannot.
void FramePipeline::Start() {
    for (std::size_t lane = 0; lane < laneBusy_.size(); ++lane) {
        try {
            threads_.emplace_back([this, lane] { Run(static_cast<int>(lane), true); });
        } catch (const std::system_error&) {
            if (threads_.empty()) throw;
            break;
        }
    }
}

FramePipeline::~FramePipeline() { Finish(); }

std::uint8_t* FramePipeline::Acquire() {
    std::unique_lock lock(mutex_);
    // A buffer stays busy from Submit until its frame is written.
    const auto bufferFree = [this] { return submitted_ - written_ < static_cast<std::int64_t>(buffers_.size()); };
    if (!changed_.wait_for(lock, patience_, bufferFree) && !handedOver_) HandOver();
    changed_.wait(lock, bufferFree);
    return buffers_[static_cast<std::size_t>(submitted_ % static_cast<std::int64_t>(buffers_.size()))].data();
}

void FramePipeline::Submit() {
    {
        std::lock_guard lock(mutex_);
        ++submitted_;
    }
    changed_.notify_all();
}

void FramePipeline::Finish() {
    {
        std::unique_lock lock(mutex_);
        finishing_ = true;
        changed_.notify_all();
        // The last frames are owed to the user too.
        if (!changed_.wait_for(lock, patience_, [this] { return written_ == submitted_; }) && !handedOver_)
            HandOver();
    }
    changed_.notify_all();
    for (std::thread& thread : threads_)
        if (thread.joinable()) thread.join();
    for (std::thread& thread : replacements_)
        if (thread.joinable()) thread.join();
}

// Called with the lock held. Should no thread be available, the yielding
// ones simply carry on; should only some be, they do the work of all.
void FramePipeline::HandOver() {
    for (std::size_t lane = 0; lane < threads_.size(); ++lane) {
        try {
            replacements_.emplace_back([this, lane] { Run(static_cast<int>(lane), false); });
        } catch (const std::system_error&) {
            break;
        }
    }
    if (replacements_.empty()) return;
    handedOver_ = true;
    changed_.notify_all();
}

bool FramePipeline::handedOver() const {
    std::lock_guard lock(mutex_);
    return handedOver_;
}

int FramePipeline::consumed() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(written_);
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

// A lane takes the oldest frame nobody has taken, encodes it outside the
// lock, then waits for the frames before it to be written before writing
// its own. A retiring thread finishes the frame it holds first, and its
// replacement waits for that.
void FramePipeline::Run(int lane, bool yielding) {
    if (yielding) YieldToEveryone();
    char& busy = laneBusy_[static_cast<std::size_t>(lane)];
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return Retired(yielding) || (!busy && (taken_ < submitted_ || finishing_)); });
        if (Retired(yielding) || taken_ == submitted_) {
            consumerCpuSeconds_ += ThreadCpuSeconds();
            return;
        }
        const std::int64_t number = taken_++;
        const std::uint8_t* frame = buffers_[static_cast<std::size_t>(number % static_cast<std::int64_t>(buffers_.size()))].data();
        busy = 1;
        lock.unlock();
        bool written = stages_.encode(lane, frame, number);
        lock.lock();
        changed_.wait(lock, [&] { return written_ == number; });
        lock.unlock();
        if (written) written = stages_.write(lane);
        lock.lock();
        busy = 0;
        ++written_;
        if (!written) ++failures_;
        changed_.notify_all();
    }
}

}  // namespace quorbel
