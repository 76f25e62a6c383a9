#include "formats/export/gltf_meshes.h"

#include <algorithm>

#include "formats/export/export_submesh.h"
#include "formats/io/utf8_text.h"

namespace verada {
namespace {

// 0xFFFF restarts primitives in 16-bit index buffers, so glTF forbids it as an index.
constexpr std::uint32_t kPrimitiveRestart16 = 0xFFFF;

}  // namespace

GltfMeshes::GltfMeshes(tinygltf::Model& model, GltfBuffer& buffer, GltfMaterials& materials,
                       const SceneSnapshot& scene, ExportMeshes& exportMeshes)
    : model_(model),
      buffer_(buffer),
      materials_(materials),
      scene_(scene),
      exportMeshes_(exportMeshes) {}

int GltfMeshes::meshFor(const ObjectSnapshot& entity) {
    const ExportMesh& exportMesh = exportMeshes_[entity.mesh];
    if (exportMesh.submeshes.empty()) {
        return -1;
    }
    std::vector<int> materials;
    for (const ExportSubmesh& submesh : exportMesh.submeshes) {
        const bool withUvs = hasUvs(*exportMesh.vertexSets[submesh.vertexSet].arrays);
        materials.push_back(
            submesh.index < entity.submeshMaterials.size()
                ? materials_.materialFor(entity.submeshMaterials[submesh.index], withUvs)
                : -1);
    }
    const auto key = std::make_pair(entity.mesh, materials);
    const auto made = meshes_.find(key);
    if (made != meshes_.end()) {
        return made->second;
    }

    tinygltf::Mesh mesh;
    mesh.name = asUtf8(scene_.meshes[entity.mesh].name);
    for (std::size_t p = 0; p < exportMesh.submeshes.size(); ++p) {
        const ExportSubmesh& submesh = exportMesh.submeshes[p];
        const VertexAccessors& vertices = vertexAccessors(entity.mesh, submesh.vertexSet);
        tinygltf::Primitive primitive;
        primitive.mode = TINYGLTF_MODE_TRIANGLES;
        primitive.attributes["POSITION"] = vertices.position;
        if (vertices.normal >= 0) {
            primitive.attributes["NORMAL"] = vertices.normal;
        }
        if (vertices.uv >= 0) {
            primitive.attributes["TEXCOORD_0"] = vertices.uv;
        }
        primitive.indices = indexAccessor(entity.mesh, submesh);
        primitive.material = materials[p];
        mesh.primitives.push_back(primitive);
    }
    model_.meshes.push_back(mesh);
    const int index = static_cast<int>(model_.meshes.size() - 1);
    meshes_.emplace(key, index);
    return index;
}

const GltfMeshes::VertexAccessors& GltfMeshes::vertexAccessors(std::size_t meshIndex,
                                                               std::size_t set) {
    const auto key = std::make_pair(meshIndex, set);
    const auto made = vertexAccessors_.find(key);
    if (made != vertexAccessors_.end()) {
        return made->second;
    }
    const ExportVertexSet& vertexSet = exportMeshes_[meshIndex].vertexSets[set];
    const VertexArrays& arrays = *vertexSet.arrays;
    VertexAccessors accessors;
    accessors.position = buffer_.addFloatAccessor(arrays.positions, arrays.vertexCount, 3, true);
    if (!vertexSet.unitNormals.empty()) {
        accessors.normal =
            buffer_.addFloatAccessor(vertexSet.unitNormals, arrays.vertexCount, 3, false);
    }
    if (hasUvs(arrays)) {
        accessors.uv = buffer_.addFloatAccessor(arrays.uvs, arrays.vertexCount, 2, false);
    }
    return vertexAccessors_.emplace(key, accessors).first->second;
}

int GltfMeshes::indexAccessor(std::size_t meshIndex, const ExportSubmesh& submesh) {
    const auto key = std::make_pair(meshIndex, submesh.index);
    const auto made = indexAccessors_.find(key);
    if (made != indexAccessors_.end()) {
        return made->second;
    }
    const SubmeshSnapshot& snapshot = *submesh.submesh;
    const std::size_t count = triangleIndexCount(snapshot);
    const std::uint32_t* indices = snapshot.indices.data();
    const bool as16Bit =
        !snapshot.indices32 && std::all_of(indices, indices + count, [](std::uint32_t index) {
            return index < kPrimitiveRestart16;
        });
    const int accessor = buffer_.addIndexAccessor(indices, count, as16Bit);
    indexAccessors_.emplace(key, accessor);
    return accessor;
}

}  // namespace verada
