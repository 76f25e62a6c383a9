#pragma once

#include <cstdio>
#include <string>

#include "formats/scene/scene_snapshot.h"

namespace verada {

// "#declare IDENTIFIER =" and the mesh2 of one submesh drawing from the given vertices: z and v
// negated into POV-Ray's left-handed axes, whole triangles only.
void writePovMesh2(std::FILE* file, const std::string& identifier, const VertexArrays& vertices,
                   const SubmeshSnapshot& submesh);

}  // namespace verada
