#pragma once

#include <string>

#include "engine/app_state.h"

namespace verada {

// "Load New" of the material editor: asks for a texture file and loads it. name becomes the
// chosen file's name (empty on cancel) whether or not a texture of that name was already there;
// a file that cannot be read is said in a box. True only when a new texture was loaded.
bool loadTextureCommand(AppState& state, std::string& name);

}  // namespace verada
