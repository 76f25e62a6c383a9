#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "formats/scene/scene_snapshot.h"

namespace verada {

// One vertex data of a mesh as the glTF and OBJ files take it.
struct ExportVertexSet {
    const VertexArrays* arrays = nullptr;
    std::vector<float> unitNormals;  // one per vertex; empty when the vertex data has none
};

struct ExportSubmesh {
    std::size_t index = 0;      // in the mesh, which also picks the sub-entity's material
    std::size_t vertexSet = 0;  // in ExportMesh::vertexSets
    const SubmeshSnapshot* submesh = nullptr;
};

// A mesh's writable submeshes in order, and the vertex data they draw from: the shared one
// once, however many submeshes use it.
struct ExportMesh {
    std::vector<ExportVertexSet> vertexSets;
    std::vector<ExportSubmesh> submeshes;
};

// The scene's meshes, each prepared when first asked for, so that its warnings come once.
class ExportMeshes {
  public:
    ExportMeshes(const SceneSnapshot& scene, std::vector<std::string>& warnings);

    const ExportMesh& operator[](std::size_t meshIndex);

  private:
    const SceneSnapshot& scene_;
    std::vector<std::optional<ExportMesh>> meshes_;
    std::vector<std::string>& warnings_;
};

}  // namespace verada
