#include "support/frame_recorder.h"

#include "scene/frame_trace.h"

namespace quorbel::testing {

namespace {
void Record(void* context, const char* routine, bool paused) {
    static_cast<FrameRecorder*>(context)->calls.push_back({routine, paused});
}
}  // namespace

FrameRecorder::FrameRecorder() { SetFrameTraceHook(Record, this); }
FrameRecorder::~FrameRecorder() { SetFrameTraceHook(nullptr, nullptr); }

std::vector<std::string> FrameRecorder::Names() const {
    std::vector<std::string> names;
    for (const auto& call : calls) names.push_back(call.routine);
    return names;
}

int FrameRecorder::Count(const std::string& routine) const {
    int count = 0;
    for (const auto& call : calls) count += call.routine == routine;
    return count;
}

}  // namespace quorbel::testing
