#pragma once

#include <string>

#include "engine/app_state.h"

namespace verada {

// Meshes > "Add New Node (Ogre)" (empty nodeName) and the "Load from Ogre .mesh" choice of
// "Add To Existing Node" (the chosen node): asks for a .mesh file and shows it. False when
// cancelled or nothing was shown.
bool loadOgreMeshNode(AppState& state, const std::string& nodeName);

}  // namespace verada
