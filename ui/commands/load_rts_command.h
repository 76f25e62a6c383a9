#pragma once

#include "engine/app_state.h"

namespace verada {

// File > "Load .RTS": asks for a scene file and replaces the scene with it; a failure shows its
// text (what was built before it stays). False when cancelled or not loaded whole.
bool loadRtsScene(AppState& state);

}  // namespace verada
