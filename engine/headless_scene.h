#pragma once

#include <memory>

#include "engine/app_state.h"
#include "engine/engine.h"
#include "formats/config/profile.h"

namespace verada {

// The viewer's start-up scene without any display, for the command line's work on whole
// scenes: a headless engine, the view settings read from config into state, the light
// "Light1", the camera "PlayerCam", the floor "groundplane" and the backdrop "background", as
// engine set-up makes them. There is no viewport: nothing is drawn. state's engine pointers
// view the new objects while the engine lives; no log file is kept.
std::unique_ptr<Engine> startHeadlessScene(AppState& state, const IniProfile& config);

}  // namespace verada
