#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "formats/scene/scene_snapshot.h"

namespace verada {

// The vertex data a submesh draws from: the mesh's shared vertices or its own; null when it
// uses shared vertices the mesh does not have.
const VertexArrays* submeshVertices(const MeshSnapshot& mesh, const SubmeshSnapshot& submesh);

// Normals and texture coordinates count only when there is one per vertex.
bool hasNormals(const VertexArrays& vertices);
bool hasUvs(const VertexArrays& vertices);

// The indices that make whole triangles.
std::size_t triangleIndexCount(const SubmeshSnapshot& submesh);

// Whether the exporters can write a submesh: it has index data, at least one whole triangle
// and a position per vertex, and no index past its vertices (which readers refuse: that one
// adds a warning).
bool isExportableSubmesh(const MeshSnapshot& mesh, const SubmeshSnapshot& submesh,
                         std::vector<std::string>& warnings);

}  // namespace verada
