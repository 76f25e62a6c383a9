#include "platform/qt/display_probe.h"

#include <X11/Xlib.h>

namespace verada {

bool displayReachable() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}

}  // namespace verada
