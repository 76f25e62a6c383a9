#pragma once

#include <string>
#include <vector>

#include "formats/scene/scene_snapshot.h"

namespace verada::test {

// A sample model (GMDL or GMDC, by extension) as the engine builds it: one submesh per group
// with its own vertices and 16-bit indices, registered under the group's name.
MeshSnapshot sampleMesh(const std::string& relativePath, const std::string& meshName);

// The engine's plane prefab, which the floor and the backdrop show: four shared vertices.
MeshSnapshot prefabPlane();

VertexArrays vertexArrays(std::vector<float> positions, std::vector<float> normals,
                          std::vector<float> uvs);

SubmeshSnapshot ownSubmesh(const std::string& label, VertexArrays vertices,
                           std::vector<std::uint32_t> indices, bool indices32 = false);

ObjectSnapshot entity(const std::string& name, std::size_t mesh, std::vector<std::string> materials,
                      bool visible = true);

MaterialSnapshot colourMaterial(const std::string& name, float r, float g, float b, float a);
MaterialSnapshot texturedMaterial(const std::string& name, const std::string& texture);

}  // namespace verada::test
