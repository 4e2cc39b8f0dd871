// The state of the Caps, Num and Scroll Lock keys, for the status bar's
// indicators. Read from the X server where the window runs on X; elsewhere
// the state is unknown and the indicators stay off.
#pragma once

namespace quorbel::gui {

struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

LockKeys ReadLockKeys();

}  // namespace quorbel::gui
