#pragma once

#include <string>

#include "engine/app_state.h"
#include "formats/io/result.h"

namespace Ogre {
class SceneNode;
}

namespace verada {

// "Load .RTS" once the file is chosen: replaces the scene and its view with the scene file's.
// A file without version 1 fails with its version text and changes nothing. Else the scene is
// cleared as "Remove All" clears it, the file's view applied (light, camera, near clip, field
// of view, background colour; the background shift only stored), and every node built in file
// order, its name made unique with "%s%d", each object a mesh and an entity of the object's
// name with the submesh materials from the file. In the viewer a frame is rendered after the
// clear, after the view and after each mesh. The load stops at the first failure and keeps
// what it built: the reader's text, "ERR: Mesh name \"%s\" is already in use." for a name the
// mesh manager holds, a text of assignRtsSubMeshMaterial, or "ERR: " and Ogre's description.
Status loadRtsFile(AppState& state, const std::string& path);

// Sets the material of sub-entity `subMesh` of the object objectName on the node; nothing when
// the node has no such object. Fails when the object is no entity, has no mesh or its mesh no
// submesh.
Status assignRtsSubMeshMaterial(Ogre::SceneNode& node, const std::string& objectName,
                                unsigned subMesh, const std::string& materialName);

}  // namespace verada
