#pragma once

#include <memory>

namespace verada::cli {

// A native X window that is never mapped: the engine takes its GL context from it while the
// picture is drawn off-screen. Kept apart because Xlib's macros clash with other headers.
class HiddenXWindow {
  public:
    HiddenXWindow();
    ~HiddenXWindow();
    HiddenXWindow(const HiddenXWindow&) = delete;
    HiddenXWindow& operator=(const HiddenXWindow&) = delete;

    // False when the X display cannot be reached.
    bool open() const;
    unsigned long handle() const;

  private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

}  // namespace verada::cli
