#pragma once

#include <string>

#include "engine/app_state.h"
#include "formats/io/result.h"

namespace verada {

// "Save Scene as glTF/OBJ..." once the file is chosen, and `verada export` to .glb, .gltf and
// .obj: the models of the scene (captureScene) in the format path's extension names, in any
// case: glTF 2.0 binary (.glb) or JSON with everything embedded (.gltf), with the textures'
// bytes from textureForExport; or Wavefront OBJ (.obj) with its material library beside it
// (the same name ending in .mtl). Every file goes to a temporary beside its target; the
// targets are replaced only once all are complete, and after a failure none is. Fails with
// "ERR: Unknown export file type, ...", the writers' texts (the scene holding no model), the
// create and write texts naming the file, or "ERR: " and an Ogre exception's text.
Status writeSceneExport(AppState& state, const std::string& path);

}  // namespace verada
