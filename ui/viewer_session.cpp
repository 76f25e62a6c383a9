#include "ui/viewer_session.h"

#include <cstdio>

#include <OgreLogManager.h>
#include <OgreRoot.h>

#include "formats/config/config.h"
#include "ui/main_window.h"
#include "ui/render_view.h"
#include "engine/engine_setup.h"
#include "engine/scene/scene_nodes.h"

namespace verada {

ViewerSession::ViewerSession(Platform& platform) {
    state_.platform = &platform;
    state_.directories.startupDirectory = currentDirectory();
    state_.directories.lastUsedDirectory = state_.directories.startupDirectory;
    window_ = std::make_unique<MainWindow>(state_);
    state_.mainWindow = window_.get();
    state_.renderFrame = [this] { return window_->renderFrame(); };
}

ViewerSession::~ViewerSession() {
    releaseEngine();
}

std::optional<std::string> ViewerSession::start() {
    window_->show();
    IniProfile config = IniProfile::load(kConfigFileName);
    loadCustomColors(config, state_.customColors);
    std::optional<std::string> error = initialiseEngine(
        state_, static_cast<unsigned long>(window_->renderView()->winId()), config);
    if (error) {
        releaseEngine();
        return error;
    }
    state_.engineReady = true;
    window_->renderView()->onResize();
    return std::nullopt;
}

void ViewerSession::releaseEngine() {
    state_.engineReady = false;
    if (state_.sceneManager) {
        releaseMeshVertexData(state_);
    }
    delete state_.root;
    state_.root = nullptr;
    state_.renderWindow = nullptr;
    state_.sceneManager = nullptr;
    state_.camera = nullptr;
    state_.viewport = nullptr;
    delete state_.logManager;
    state_.logManager = nullptr;
}

void ViewerSession::shutdown() {
    releaseEngine();
    IniProfile config = IniProfile::load(kConfigFileName);
    saveViewSettings(config, state_.viewSettings);
    saveCustomColors(config, state_.customColors);
    if (std::optional<std::string> error = config.save()) {
        std::fprintf(stderr, "verada: %s\n", error->c_str());
    }
}

}  // namespace verada
