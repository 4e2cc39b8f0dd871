#include "app/gui/lock_keys.h"

#include <QGuiApplication>

#ifdef QUORBEL_HAVE_X11
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <QtGui/qguiapplication_platform.h>
#endif

namespace quorbel::gui {

#ifdef QUORBEL_HAVE_X11
namespace {

bool IndicatorOn(Display* display, const char* name) {
    Atom atom = XInternAtom(display, name, True);
    if (atom == None) return false;
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) return false;
    return on;
}

}  // namespace

LockKeys ReadLockKeys() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return {};
    return {IndicatorOn(display, "Caps Lock"), IndicatorOn(display, "Num Lock"), IndicatorOn(display, "Scroll Lock")};
}
#else
LockKeys ReadLockKeys() { return {}; }
#endif

}  // namespace quorbel::gui
