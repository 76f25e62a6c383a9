#pragma once

#include <string>

#include "engine/app_state.h"

namespace verada {

// "Save Mesh as .mesh" once "Pick Mesh To Save" named the entity: asks for the file, then
// writes the mesh the entity shows. When there is no such entity (an empty name among them)
// "Save Failed.\r\nError in string selection." shows under the caption "Save Mesh As .mesh
// Error"; any other failure under the application's; owner is the box's owner. True when a
// file was written.
bool saveMeshAsOgreMesh(AppState& state, WindowHandle owner, const std::string& entityName);

}  // namespace verada
