#pragma once

#include <string>
#include <vector>

#include "engine/app_state.h"

namespace verada {

struct OpenedFiles {
    std::vector<std::string> paths;  // absolute, of the files that opened, in the order given
    bool ownViewOpened = false;      // one of them brought a camera of its own (a scene file)
};

// The one way the viewer opens files by name: its command line, files dropped on its window
// and File > "Open Recent". Each file is added to the scene as the loaders add it; a file that
// cannot be opened shows the loader's message and the others still open.
OpenedFiles openFiles(AppState& state, const std::vector<std::string>& paths);

}  // namespace verada
