#pragma once

#include <string>

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

// The model file at path, its format by its extension, on a new node (command line and the
// viewer's file arguments). Ogre's failures come back as "ERR: " and their description.
Result<BuiltMesh> addModelFileAsNewNode(AppState& state, const std::string& path);

}  // namespace verada
