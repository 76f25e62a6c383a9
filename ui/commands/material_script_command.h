#pragma once

#include "engine/app_state.h"

namespace verada {

// Materials > "Load Ogre Material": asks for a .material script and loads it; its warnings
// come in one box, a failure in another. False when cancelled.
bool loadMaterialScript(AppState& state);

}  // namespace verada
