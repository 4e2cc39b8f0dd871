// What the mouse and the arrow keys do in the view. A drag always moves the
// title text, whichever effect the keys are aimed at and whether or not the
// text is shown; the arrow keys move the effect that `keyTarget` names.
#pragma once

#include <cstdint>

namespace quorbel {

enum class MouseButton { Left, Right };

struct DragModifiers {
    bool ctrl = false;
    bool shift = false;
};

// The drag in progress. `rightDrag` stays set until the right button comes
// up, even when the left one came up first.
struct DragState {
    float lastDeltaX = 0.0f;
    float lastDeltaY = 0.0f;
    bool dragging = false;
    bool rightDrag = false;
    std::int32_t lastPointX = 0;
    std::int32_t lastPointY = 0;
};

// A right press also turns on the mouse zoom of the text.
void MouseButtonDown(DragState& drag, MouseButton button, int x, int y);
// Returns true when the move changed the scene (the view then repaints).
// Ctrl wins over Shift; Shift over the right button.
bool MouseMove(DragState& drag, int x, int y, DragModifiers modifiers);
void MouseButtonUp(DragState& drag, MouseButton button);

enum class ArrowKey { Left, Right, Up, Down };

// Nudges the effect that `keyTarget` names by 0.1 scene units. False when
// the target names no effect (the key then does nothing).
bool PressArrowKey(ArrowKey key);

inline constexpr float kArrowStep = 0.1f;
inline constexpr float kCtrlDragScale = 0.05f;
inline constexpr float kDragAngleScale = 0.5f;

}  // namespace quorbel
