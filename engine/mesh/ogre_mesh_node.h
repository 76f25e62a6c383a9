#pragma once

#include <string>

#include "engine/app_state.h"
#include "formats/io/result.h"

namespace verada {

struct OgreMeshNode {
    std::string meshName;  // the file name with extension
    std::string entityName;
    std::string nodeName;
};

// The Ogre .mesh file at path shown by an entity named after its base name ("%s%d" when
// taken) on root child nodeName, or, with an empty nodeName, on a new root child named the
// same way. A mesh already loaded under the file name is shown again, even one from another
// folder; the file's folder becomes a location of "MSH", where a linked skeleton is found.
// Fails with "ERR: " and Ogre's text, or with the model loaders' "WARN: " when nodeName is no
// root child (the mesh then stays loaded).
Result<OgreMeshNode> loadOgreMeshFile(AppState& state, const std::string& path,
                                      const std::string& nodeName);

}  // namespace verada
