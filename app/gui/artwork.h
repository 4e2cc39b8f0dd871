// The program's own pictures, drawn by code: the toolbar buttons, the bulb
// of the tip box and the application icon. Nothing here draws text, so the
// pictures can be made without a display (the build writes the installed
// icon this way).
#pragma once

#include <QImage>

namespace quorbel::gui {

inline constexpr int kToolbarIconSize = 24;

// The 24 x 24 picture of a toolbar command (a neutral mark for a command
// without a picture of its own).
QImage ToolbarIcon(int command);

// The bulb of the tip box: 40 x 56, on white.
QImage BulbPicture();

// The application icon at `size` x `size`, with a transparent background.
QImage AppIcon(int size);

}  // namespace quorbel::gui
