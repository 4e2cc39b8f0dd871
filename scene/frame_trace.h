// A window into the frame for tests and benchmarks: when a hook is set, the
// scene composition reports every effect routine it calls, in order, with
// whether the scene was paused at the time. Costs one pointer test per call
// when no hook is set.
#pragma once

namespace quorbel {

using FrameTraceHook = void (*)(void* context, const char* routine, bool paused);

void SetFrameTraceHook(FrameTraceHook hook, void* context);
void TraceCall(const char* routine);

}  // namespace quorbel
