#pragma once

#include <string>
#include <vector>

#include "engine/app_state.h"

namespace verada {

// Opens files given to the viewer (`verada FILE...`) through loadSceneFiles. Per file: its
// warnings in one box, the groups left out as the menu commands show them, and a failure in
// the loaders' warning box; the rest still load. Returns how many files loaded.
int openSceneFiles(AppState& state, const std::vector<std::string>& paths);

}  // namespace verada
