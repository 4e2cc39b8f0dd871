// Records the effect routines the scene composition calls, in order.
#pragma once

#include <string>
#include <vector>

namespace quorbel::testing {

struct RecordedCall {
    std::string routine;
    bool paused;
};

class FrameRecorder {
public:
    FrameRecorder();
    ~FrameRecorder();
    FrameRecorder(const FrameRecorder&) = delete;
    FrameRecorder& operator=(const FrameRecorder&) = delete;

    std::vector<RecordedCall> calls;
    std::vector<std::string> Names() const;
    int Count(const std::string& routine) const;
    void Clear() { calls.clear(); }
};

}  // namespace quorbel::testing
