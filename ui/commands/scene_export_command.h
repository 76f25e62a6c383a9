#pragma once

#include "engine/app_state.h"

namespace verada {

// File > "Save Scene as glTF/OBJ...": asks for the file (glTF binary, glTF or Wavefront OBJ)
// and writes the scene's models in the format its extension names; what went wrong shows in a
// message box of the main window. True when written.
bool saveSceneExport(AppState& state);

}  // namespace verada
