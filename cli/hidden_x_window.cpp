#include "cli/hidden_x_window.h"

#include <X11/Xlib.h>

namespace verada::cli {

struct HiddenXWindow::Connection {
    Display* display = nullptr;
    Window window = 0;
};

HiddenXWindow::HiddenXWindow() : connection_(std::make_unique<Connection>()) {
    connection_->display = XOpenDisplay(nullptr);
    if (connection_->display != nullptr) {
        Display* display = connection_->display;
        connection_->window =
            XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 800, 600, 0, 0, 0);
        // The engine opens its own connection: the window must exist on the server first.
        XSync(display, False);
    }
}

HiddenXWindow::~HiddenXWindow() {
    if (connection_->display != nullptr) {
        XDestroyWindow(connection_->display, connection_->window);
        XCloseDisplay(connection_->display);
    }
}

bool HiddenXWindow::open() const {
    return connection_->display != nullptr;
}

unsigned long HiddenXWindow::handle() const {
    return connection_->window;
}

}  // namespace verada::cli
