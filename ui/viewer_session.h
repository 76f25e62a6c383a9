#pragma once

#include <memory>
#include <string>

#include "engine/app_state.h"
#include "engine/engine.h"
#include "formats/io/result.h"

namespace verada {

class MainWindow;

// One run of the viewer inside an existing QApplication: the main window, the engine and the
// configuration file, from start-up to shutdown.
class ViewerSession {
  public:
    explicit ViewerSession(Platform& platform);
    ~ViewerSession();
    ViewerSession(const ViewerSession&) = delete;
    ViewerSession& operator=(const ViewerSession&) = delete;

    // Shows the window, reads the configuration and sets up the engine; says why it failed.
    // On failure nothing is written.
    Status start();
    // Frees the engine, then writes the view settings, the custom colours and the recent
    // files.
    void shutdown();

    AppState& state() { return state_; }
    MainWindow& window() { return *window_; }

  private:
    AppState state_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<Engine> engine_;
};

}  // namespace verada
