#pragma once

#include <string>

#include "engine/app_state.h"

namespace verada {

// "Save" of the material editor: asks where to write the material's script and writes it; a
// failure is said in a box on owner. For a material Ogre does not hold nothing happens, not even
// the dialog. False when nothing was saved.
bool saveMaterialScriptCommand(AppState& state, WindowHandle owner, const std::string& name);

}  // namespace verada
