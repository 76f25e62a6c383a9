#pragma once

#include <string>

#include "engine/app_state.h"
#include "formats/model/model_format.h"

namespace verada {

// Meshes > "Add New Node (...)": asks for a file of the format, reads it and shows its mesh on
// a new root child named after the file. False when cancelled or nothing was added; else the
// file's full path goes to openedPath when given.
bool addModelAsNewNode(AppState& state, ModelFormat format, std::string* openedPath = nullptr);

// "Add To Existing Node": the same file question, then the mesh's entity on root child
// nodeName. With an empty nodeName the mesh is built but shown nowhere; a name of no root
// child is reported.
bool addModelToExistingNode(AppState& state, ModelFormat format, const std::string& nodeName);

// Meshes > "Add Models From Package...": asks for a package and shows every model item of it
// on a new node, read without unpacking, as the viewer opens a package. Returns how many
// models were added.
int addPackageModelsAsNewNodes(AppState& state);

}  // namespace verada
