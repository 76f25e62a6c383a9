#pragma once

#include "formats/scene/scene_snapshot.h"

namespace Ogre {
class Mesh;
class SceneManager;
}  // namespace Ogre

namespace verada {

// The live scene as plain data, for the scene file and the exporters. Reads only: nothing in
// the scene, the meshes or the materials changes. Ogre's exceptions pass through.
//
// - materials: every material the material manager holds, in its iteration order, each with one
//   layer per pass of technique 0 as readMaterialLayer reads it (none without technique or pass);
// - nodes: the root's children in child order with position, orientation and scale, each with
//   its attached objects in attachment order: name, the object's own visibility flag, the
//   material of each sub-entity, and the mesh it shows (kNoMesh for an object that is no
//   entity or shows no mesh);
// - meshes: each mesh once, however many entities show it, as captureMesh reads it.
//
// Buffers are read through read-only locks. Headless only a buffer with a shadow copy holds
// what was written to it; on screen the render system's own copy is read when there is none.
SceneSnapshot captureScene(Ogre::SceneManager& sceneManager);

// One mesh: name, bounds, shared vertex data and submeshes (label of buildSubmeshLabel,
// useSharedVertices, own vertex data, indices). Of each vertex data the position, normal and
// texture coordinates (index 0) are read from vertexStart on, each from the buffer bound to its
// own source; an element that is not three floats (two for texture coordinates), or whose
// buffer does not hold every vertex, is left out: its array stays empty. A submesh's indices
// are read from indexStart on; without an index buffer that holds them all, hasIndexData is
// false and there are none. Nothing is read past a buffer.
MeshSnapshot captureMesh(const Ogre::Mesh& mesh);

}  // namespace verada
