#pragma once

#include <string>

#include "engine/app_state.h"
#include "engine/scene/name_list.h"
#include "formats/io/result.h"

namespace verada {

enum class MeshFileVersion {
    Current,  // Ogre 1.12's own, "[MeshSerializer_v1.100]"
    V1_8,     // "[MeshSerializer_v1.8]", the newest that Assimp and older Ogre programs read
};

// The names of the objects on the root children, in child and attachment order, the floor's
// and the backdrop's included, each cut to 255 characters: what "Pick Mesh To Save" offers.
NameList listEntityNames(const AppState& state);

// "Save Mesh as .mesh" once the file is chosen: the mesh that the entity entityName shows (the
// first whose name, cut to 255 characters, equals it so cut) as an Ogre .mesh file at path.
// Fails with "Save Failed.\r\nError in string selection." when there is no such entity, and
// as writeOgreMeshFile fails.
Status saveEntityMesh(const AppState& state, const std::string& entityName, const std::string& path,
                      MeshFileVersion version);

// `verada export -o OUT.mesh`: the mesh of the first entity on root child nodeName, or, with an
// empty nodeName, on the first root child but the floor and the backdrop. Fails as
// saveEntityMesh does.
Status saveNodeMesh(const AppState& state, const std::string& nodeName, const std::string& path,
                    MeshFileVersion version);

}  // namespace verada
