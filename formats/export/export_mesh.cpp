#include "formats/export/export_mesh.h"

#include "formats/export/export_submesh.h"
#include "formats/export/normal_repair.h"

namespace verada {
namespace {

ExportMesh prepareExportMesh(const MeshSnapshot& mesh, std::vector<std::string>& warnings) {
    ExportMesh prepared;
    std::vector<std::vector<const SubmeshSnapshot*>> users;
    std::optional<std::size_t> sharedSet;
    for (std::size_t s = 0; s < mesh.submeshes.size(); ++s) {
        const SubmeshSnapshot& submesh = mesh.submeshes[s];
        if (!isExportableSubmesh(mesh, submesh, warnings)) {
            continue;
        }
        std::size_t set = prepared.vertexSets.size();
        if (submesh.useSharedVertices && sharedSet) {
            set = *sharedSet;
        } else {
            prepared.vertexSets.push_back({submeshVertices(mesh, submesh), {}});
            users.emplace_back();
            if (submesh.useSharedVertices) {
                sharedSet = set;
            }
        }
        users[set].push_back(&submesh);
        prepared.submeshes.push_back({s, set, &submesh});
    }
    for (std::size_t set = 0; set < prepared.vertexSets.size(); ++set) {
        ExportVertexSet& vertexSet = prepared.vertexSets[set];
        if (hasNormals(*vertexSet.arrays)) {
            vertexSet.unitNormals = repairNormals(*vertexSet.arrays, users[set]);
        }
    }
    return prepared;
}

}  // namespace

ExportMeshes::ExportMeshes(const SceneSnapshot& scene, std::vector<std::string>& warnings)
    : scene_(scene), meshes_(scene.meshes.size()), warnings_(warnings) {}

const ExportMesh& ExportMeshes::operator[](std::size_t meshIndex) {
    std::optional<ExportMesh>& mesh = meshes_[meshIndex];
    if (!mesh) {
        mesh = prepareExportMesh(scene_.meshes[meshIndex], warnings_);
    }
    return *mesh;
}

}  // namespace verada
