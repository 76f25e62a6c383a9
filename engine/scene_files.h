#pragma once

#include <string>
#include <vector>

#include "engine/app_state.h"
#include "formats/io/result.h"

namespace verada {

inline constexpr char kUnknownSceneFile[] =
    "ERR: Unknown file type, expected .gmdl, .gmsh, .5gd, .simpe, .mesh, .material, .package or "
    ".rts.";

// What opening one file, or one model of a package, came to.
struct FileOutcome {
    std::string file;  // the path as given
    std::string path;  // what messages name: the path, or "PACKAGE:ITEM" for a package's model
    Status status;     // its "WARN: " texts and, when it did not load, its error
    std::vector<std::string> notes;  // the model groups left out, one text each
};

// The one way a list of user files is opened (the viewer's arguments, `verada render`): the
// material scripts first, in the order given, so that the meshes find the materials they name;
// then the models, the models of packages and Ogre meshes in order, each on a new root child,
// and the scene files among them, each replacing the scene and its view as "Load .RTS" does. A
// file that fails leaves the scene as it was (a scene file: as far as it was built) and the next
// one still loads. One outcome per file (per model of a package), in the order loaded.
std::vector<FileOutcome> loadSceneFiles(AppState& state, const std::vector<std::string>& paths);

}  // namespace verada
