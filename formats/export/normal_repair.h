#pragma once

#include <vector>

#include "formats/scene/scene_snapshot.h"

namespace verada {

// Unit normals for one vertex data, whose normals glTF requires to be unit length (the game
// models' are up to a few percent off). Each normal is normalised; a zero one becomes the
// normalised sum of the face normals of the triangles that use its vertex, and (0, 1, 0) when
// that sum is zero too. The submeshes are those drawing from these vertices, already checked
// to index only within them.
std::vector<float> repairNormals(const VertexArrays& vertices,
                                 const std::vector<const SubmeshSnapshot*>& submeshes);

}  // namespace verada
