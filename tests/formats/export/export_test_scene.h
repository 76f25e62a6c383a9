#pragma once

#include "formats/scene/scene_snapshot.h"

namespace verada::test {

// The scene the glTF and OBJ tests export: the viewer's floor and backdrop; "turned" (moved,
// turned 90 degrees about y and scaled by 2, 0.5, 1) and "moved" (moved only), whose entities
// "crate" and "crate0" share the mesh "box"; "moved" also shows the floor's plane as
// "tile\xB0" (a Latin-1 name); and "hidden", whose only entity is hidden.
// "box": "Quad" (4 vertices, normals, uvs, 16-bit indices; vertex 1's normal is zero, vertex
// 0's is 2 long, vertex 3's points along (1, 1, 0)), "Tri" (3 vertices, uvs, no normals, 32-bit
// indices) and "Broken" (an index past its vertices).
SceneSnapshot exportTestScene();

}  // namespace verada::test
