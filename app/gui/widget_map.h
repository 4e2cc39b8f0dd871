// A map of what is on screen, for driving the real window from outside with
// real input (automated tests under a virtual X server): where each named
// widget, menu entry and toolbar button is, in screen coordinates. Off
// unless the environment names a file in QUORBEL_WIDGET_MAP.
#pragma once

namespace quorbel::gui {

// Starts keeping the file up to date (rewritten whole whenever a window is
// shown, moved or resized). Does nothing without QUORBEL_WIDGET_MAP.
void StartWidgetMapWhenAsked();

}  // namespace quorbel::gui
