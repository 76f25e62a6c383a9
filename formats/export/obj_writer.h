#pragma once

#include <string>

#include "formats/io/result.h"
#include "formats/scene/scene_snapshot.h"

namespace verada {

// The two files of a Wavefront OBJ export.
struct ObjFiles {
    std::string obj;
    std::string mtl;
};

// The models of the scene as Wavefront OBJ text, the same nodes and entities as the glTF
// export: "o" per entity, "g" and "usemtl" per submesh, each vertex once per vertex data and
// entity in world space ("v"; "vt" with v turned to 1 - v, OBJ's origin being the bottom
// left; "vn" unit length), 1-based faces. The MTL text declares each material used: layer 0's
// diffuse colour, its alpha below 1, its texture's file name. mtlFileName is what "mtllib"
// names: the MTL file beside the OBJ file. Fails with "ERR: The scene holds no model to
// export." when there is no model.
Result<ObjFiles> writeObjScene(const SceneSnapshot& scene, const std::string& mtlFileName);

}  // namespace verada
