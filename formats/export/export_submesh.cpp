#include "formats/export/export_submesh.h"

#include <algorithm>

#include "formats/export/export_messages.h"
#include "formats/io/printf_text.h"

namespace verada {

const VertexArrays* submeshVertices(const MeshSnapshot& mesh, const SubmeshSnapshot& submesh) {
    if (!submesh.useSharedVertices) {
        return &submesh.vertices;
    }
    return mesh.sharedVertices ? &*mesh.sharedVertices : nullptr;
}

bool hasNormals(const VertexArrays& vertices) {
    return vertices.vertexCount > 0 && vertices.normals.size() == 3 * vertices.vertexCount;
}

bool hasUvs(const VertexArrays& vertices) {
    return vertices.vertexCount > 0 && vertices.uvs.size() == 2 * vertices.vertexCount;
}

std::size_t triangleIndexCount(const SubmeshSnapshot& submesh) {
    return submesh.indices.size() - submesh.indices.size() % 3;
}

bool isExportableSubmesh(const MeshSnapshot& mesh, const SubmeshSnapshot& submesh,
                         std::vector<std::string>& warnings) {
    const VertexArrays* vertices = submeshVertices(mesh, submesh);
    if (!submesh.hasIndexData || triangleIndexCount(submesh) == 0 || vertices == nullptr ||
        vertices->positions.size() != 3 * vertices->vertexCount) {
        return false;
    }
    const auto end = submesh.indices.begin() + triangleIndexCount(submesh);
    if (std::any_of(submesh.indices.begin(), end,
                    [&](std::uint32_t index) { return index >= vertices->vertexCount; })) {
        warnings.push_back(printfText(kIndexPastVertices, submesh.label.c_str(), mesh.name.c_str(),
                                      vertices->vertexCount));
        return false;
    }
    return true;
}

}  // namespace verada
