#include "scene/frame_trace.h"

#include "scene/scene_state.h"

namespace quorbel {

namespace {
FrameTraceHook traceHook = nullptr;
void* traceContext = nullptr;
}  // namespace

void SetFrameTraceHook(FrameTraceHook hook, void* context) {
    traceHook = hook;
    traceContext = context;
}

void TraceCall(const char* routine) {
    if (traceHook) traceHook(traceContext, routine, On(scene.paused));
}

}  // namespace quorbel
