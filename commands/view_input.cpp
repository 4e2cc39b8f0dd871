#include "commands/view_input.h"

#include <cmath>

#include "scene/scene_state.h"

namespace quorbel {

namespace {

constexpr float kLargeAngle = 1.0e6f;

// Whole turns are taken off one at a time, so exactly +-360 stays as it is.
void WrapAngle(float& angle) {
    // A settings file may hold any value: one the loops below could never
    // bring into range (infinite, or so large that adding 360 changes
    // nothing) is reduced in one step first.
    if (!std::isfinite(angle)) angle = 0.0f;
    if (std::fabs(angle) > kLargeAngle) angle = std::fmod(angle, 360.0f);
    while (angle < -360.0f) angle += 360.0f;
    while (angle > 360.0f) angle -= 360.0f;
}

void Rotate(DragState& drag) {
    WrapAngle(scene.textAngleX);
    WrapAngle(scene.textAngleY);
    // Turned upside down about x, the text's visible front faces the other
    // way, so the y turn is reversed to keep following the mouse.
    float tilt = std::fabs(scene.textAngleX);
    if (tilt > 90.0f && tilt < 270.0f) drag.lastDeltaX = -drag.lastDeltaX;
    scene.textAngleX += drag.lastDeltaY;
    scene.textAngleY += drag.lastDeltaX;
}

void ApplyDrag(DragState& drag, DragModifiers modifiers) {
    const float along = drag.lastDeltaX + drag.lastDeltaY;
    if (modifiers.ctrl) {
        scene.textPosX += drag.lastDeltaX * kCtrlDragScale;
        scene.textPosY -= drag.lastDeltaY * kCtrlDragScale;  // screen y grows downwards, scene y upwards
    } else if (modifiers.shift) {
        scene.textAngleZ += along * kDragAngleScale;
    } else if (drag.rightDrag) {
        scene.textPosZ += along * kDragAngleScale;
        scene.textMouseZoom += along * kDragAngleScale;
    } else {
        Rotate(drag);
    }
}

struct KeyTargetRow {
    std::int32_t target;
    float SceneState::*x;
    float SceneState::*y;
};

constexpr KeyTargetRow kKeyTargets[] = {
    {2, &SceneState::textPosX, &SceneState::textPosY},
    {4, &SceneState::starFieldX, &SceneState::starFieldY},
    {6, &SceneState::particleX, &SceneState::particleY},
    {7, &SceneState::fireX, &SceneState::fireY},
};

}  // namespace

void MouseButtonDown(DragState& drag, MouseButton button, int x, int y) {
    if (button == MouseButton::Right) drag.rightDrag = true;
    drag.lastDeltaX = drag.lastDeltaY = 0.0f;
    drag.lastPointX = x;
    drag.lastPointY = y;
    drag.dragging = true;
    if (button == MouseButton::Right) scene.textMouseZoomUsed = 2;
}

bool MouseMove(DragState& drag, int x, int y, DragModifiers modifiers) {
    if (!drag.dragging) return false;
    drag.lastDeltaX = static_cast<float>(x - drag.lastPointX);
    drag.lastDeltaY = static_cast<float>(y - drag.lastPointY);
    ApplyDrag(drag, modifiers);
    drag.lastPointX = x;
    drag.lastPointY = y;
    return true;
}

void MouseButtonUp(DragState& drag, MouseButton button) {
    drag.dragging = false;
    if (button == MouseButton::Right) drag.rightDrag = false;
}

bool PressArrowKey(ArrowKey key) {
    for (const KeyTargetRow& row : kKeyTargets) {
        if (row.target != scene.keyTarget) continue;
        switch (key) {
            case ArrowKey::Left: scene.*row.x -= kArrowStep; break;
            case ArrowKey::Right: scene.*row.x += kArrowStep; break;
            case ArrowKey::Up: scene.*row.y += kArrowStep; break;
            case ArrowKey::Down: scene.*row.y -= kArrowStep; break;
        }
        return true;
    }
    return false;
}

}  // namespace quorbel
