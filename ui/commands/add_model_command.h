#pragma once

#include <string>
#include <vector>

#include "engine/app_state.h"
#include "formats/model/model_format.h"

namespace verada {

// Meshes > "Add New Node (...)": asks for a file of the format, reads it and shows its mesh on
// a new root child named after the file. False when cancelled or nothing was added.
bool addModelAsNewNode(AppState& state, ModelFormat format);

// "Add To Existing Node": the same file question, then the mesh's entity on root child
// nodeName. With an empty nodeName the mesh is built but shown nowhere; a name of no root
// child is reported.
bool addModelToExistingNode(AppState& state, ModelFormat format, const std::string& nodeName);

// `verada FILE...`: each model file, and each model of a package, on a new node; a model that
// cannot be loaded shows its message the way the menu command does, and the rest still load.
// Returns how many were added.
int addModelFilesAsNewNodes(AppState& state, const std::vector<std::string>& paths);

// Meshes > "Add Models From Package...": asks for a package and shows every model item of it
// on a new node, read without unpacking. Returns how many were added.
int addPackageModelsAsNewNodes(AppState& state);

}  // namespace verada
