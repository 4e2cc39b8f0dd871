// A value that runs between a start and an end by one step per frame: a
// loop starts again when it reaches the end, a bounce turns back at either
// end. The text's zoom, the particles' amplitude and zoom, the stars' zoom
// and the blur's separation run this way.
//
// What differs between them is given as parameters: the limits (the text
// turns a hundredth short of its ends, the particles a tenth, the stars at
// their near and far offsets, the blur a unit short of its finish and starts
// again at 0), the step (worked out in double for the text and the
// particles, in float for the stars and the blur) and where the bounce keeps
// its heading (the text in one direction code, the particles in a rising and
// a falling flag). The blur's and the stars' bounces are their own: they
// check their ends whichever way they run.
//
// Each effect gives the step and the limits in its own arithmetic widened to
// double. Double holds every float exactly, and a sum of two floats worked
// out in double and rounded back to float is their float sum, so each effect
// steps exactly as it always has.
#pragma once

namespace quorbel {

struct ValueRun {
    double step;         // added going forwards, taken away going back
    double forwardUpTo;  // a step forwards only while the value is at most this
    double endAt;        // at or past this the loop starts again, the bounce turns back
    double backDownTo = 0;  // a step back only while the value is at least this (bounce)
    double startAt = 0;     // at or below this the bounce turns forwards
    double restart = 0;     // where the loop starts again
};

inline void StepForwards(float& value, const ValueRun& run) {
    if (value <= run.forwardUpTo) value = static_cast<float>(value + run.step);
}

// A value already past the end starts again without a step.
inline void AdvanceLoop(float& value, const ValueRun& run) {
    StepForwards(value, run);
    if (value >= run.endAt) value = static_cast<float>(run.restart);
}

// `heading` tells which way the value runs (Forwards(), Back()) and turns it
// (TurnBack(), TurnForwards()), in whatever fields the effect keeps that in.
// Not an else: the turn at the end and the first step back share a frame.
template <typename Heading>
void AdvanceBounce(float& value, Heading&& heading, const ValueRun& run) {
    if (heading.Forwards()) {
        StepForwards(value, run);
        if (value >= run.endAt) heading.TurnBack();
    }
    if (heading.Back()) {
        if (value >= run.backDownTo) value = static_cast<float>(value - run.step);
        if (value <= run.startAt) heading.TurnForwards();
    }
}

}  // namespace quorbel
