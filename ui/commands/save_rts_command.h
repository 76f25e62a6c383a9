#pragma once

#include "engine/app_state.h"

namespace verada {

// File > "Save As .RTS": asks for a file and writes the scene to it; a failure shows its text.
// False when cancelled or not written.
bool saveRtsScene(AppState& state);

}  // namespace verada
