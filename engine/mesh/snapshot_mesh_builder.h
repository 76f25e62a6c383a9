#pragma once

#include <string>

#include <OgreMesh.h>

#include "formats/scene/scene_snapshot.h"

namespace verada {

// Builds the mesh of a snapshot as a manual mesh `name` in the group "MSH", loaded: each vertex
// data (shared, or a submesh's own) one buffer of 32 bytes a vertex (position, normal, texture
// coordinates; components the snapshot lacks are 0), each submesh named by its label with
// 16-bit indices, or 32-bit ones where the snapshot says so, and the snapshot's bounds. A
// vertex or index count of 0 makes no buffer. Buffers keep a shadow copy, so that the scene
// file and the exports read them back. Ogre raises when the name is taken.
Ogre::MeshPtr buildMeshFromSnapshot(const MeshSnapshot& snapshot, const std::string& name);

}  // namespace verada
