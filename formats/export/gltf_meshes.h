#pragma once

#include <map>
#include <utility>
#include <vector>

#include <tiny_gltf.h>

#include "formats/export/export_mesh.h"
#include "formats/export/gltf_buffer.h"
#include "formats/export/gltf_materials.h"

namespace verada {

// The glTF meshes of the scene's entities. Entities showing one mesh with the same materials
// share a glTF mesh; with other materials they get a mesh of their own over the same
// accessors, as materials belong to the entity.
class GltfMeshes {
  public:
    GltfMeshes(tinygltf::Model& model, GltfBuffer& buffer, GltfMaterials& materials,
               const SceneSnapshot& scene, ExportMeshes& exportMeshes);

    // -1 when the entity's mesh has nothing to draw.
    int meshFor(const ObjectSnapshot& entity);

  private:
    struct VertexAccessors {
        int position = -1;
        int normal = -1;
        int uv = -1;
    };

    const VertexAccessors& vertexAccessors(std::size_t meshIndex, std::size_t set);
    int indexAccessor(std::size_t meshIndex, const ExportSubmesh& submesh);

    tinygltf::Model& model_;
    GltfBuffer& buffer_;
    GltfMaterials& materials_;
    const SceneSnapshot& scene_;
    ExportMeshes& exportMeshes_;
    std::map<std::pair<std::size_t, std::size_t>, VertexAccessors> vertexAccessors_;
    std::map<std::pair<std::size_t, std::size_t>, int> indexAccessors_;
    std::map<std::pair<std::size_t, std::vector<int>>, int> meshes_;
};

}  // namespace verada
