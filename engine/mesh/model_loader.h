#pragma once

#include <string>
#include <vector>

#include "engine/app_state.h"
#include "engine/mesh/mesh_builder.h"
#include "formats/io/result.h"
#include "formats/model/model_format.h"

namespace verada {

// Reads the model file and builds its mesh. Fails with the reader's text and builds nothing;
// the reader's warnings travel with the result. Ogre's exceptions pass through to the command.
Result<BuiltMesh> loadModelMesh(ModelFormat format, const std::string& path);

// The mesh's entity on a new root child named after the mesh ("%s%d" when taken).
void showOnNewNode(AppState& state, const std::string& meshName);

// The mesh's entity on root child nodeName; fails with a "WARN: " text when there is none.
Status attachToRootChild(AppState& state, const std::string& nodeName, const std::string& meshName);
// The same with an entity name other than the mesh's.
Status attachToRootChild(AppState& state, const std::string& nodeName, const std::string& meshName,
                         const std::string& entityName);

// One model of a file the user named, shown on a new node, or why not.
struct AddedModel {
    std::string file;  // the path, or "PACKAGE:ITEM" for an item of a package
    Result<BuiltMesh> built;
};

// The models of the file at path, each on a new node (command line and the viewer's file
// arguments): a model file by its extension, or every model item of a package, read without
// unpacking it. Ogre's failures come back as "ERR: " and their description.
std::vector<AddedModel> addModelFileAsNewNodes(AppState& state, const std::string& path);

}  // namespace verada
