#include "ui/viewer_session.h"

#include <cstdio>

#include "formats/config/config.h"
#include "formats/config/recent_files.h"
#include "ui/main_window.h"
#include "ui/render_view.h"

namespace verada {

ViewerSession::ViewerSession(Platform& platform) {
    state_.platform = &platform;
    state_.directories = sessionDirectoriesHere();
    window_ = std::make_unique<MainWindow>(state_);
    state_.mainWindow = window_.get();
    state_.renderFrame = [this] { return window_->renderFrame(); };
}

ViewerSession::~ViewerSession() = default;

Status ViewerSession::start() {
    window_->show();
    IniProfile config = IniProfile::load(kConfigFileName);
    loadCustomColors(config, state_.customColors);
    window_->setRecentFiles(loadRecentFiles(config));
    Result<std::unique_ptr<Engine>> engine = Engine::startOnScreen(
        state_, static_cast<unsigned long>(window_->renderView()->winId()), config, "Ogre.log");
    if (!engine) {
        return engine.failure();
    }
    engine_ = std::move(engine.value());
    state_.engineReady = true;
    window_->renderView()->onResize();
    return {};
}

void ViewerSession::shutdown() {
    engine_.reset();
    IniProfile config = IniProfile::load(kConfigFileName);
    saveViewSettings(config, state_.viewSettings);
    saveCustomColors(config, state_.customColors);
    saveRecentFiles(config, window_->recentFiles());
    if (Status saved = config.save(); !saved) {
        std::fprintf(stderr, "verada: %s\n", saved.error().c_str());
    }
}

}  // namespace verada
