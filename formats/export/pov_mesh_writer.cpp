#include "formats/export/pov_mesh_writer.h"

#include "formats/export/export_submesh.h"

namespace verada {
namespace {

// One vector list: its name, the count, then the entries separated by "," at line ends.
template <typename WriteEntry>
void writeVectorList(std::FILE* file, const char* name, std::size_t count, WriteEntry writeEntry) {
    std::fprintf(file, "  %s {\r\n    %zu\r\n", name, count);
    for (std::size_t i = 0; i < count; ++i) {
        writeEntry(i);
        std::fputs(i + 1 < count ? ",\r\n" : "\r\n", file);
    }
    std::fprintf(file, "    }\r\n");
}

}  // namespace

void writePovMesh2(std::FILE* file, const std::string& identifier, const VertexArrays& vertices,
                   const SubmeshSnapshot& submesh) {
    std::fprintf(file, "#declare %s =\r\nmesh2 {\r\n", identifier.c_str());
    const float* positions = vertices.positions.data();
    writeVectorList(file, "vertex_vectors", vertices.vertexCount, [&](std::size_t v) {
        std::fprintf(file, "    <%f, %f, %f>", positions[3 * v], positions[3 * v + 1],
                     -positions[3 * v + 2]);
    });
    if (hasNormals(vertices)) {
        const float* normals = vertices.normals.data();
        writeVectorList(file, "normal_vectors", vertices.vertexCount, [&](std::size_t v) {
            std::fprintf(file, "    <%f, %f, %f>", normals[3 * v], normals[3 * v + 1],
                         -normals[3 * v + 2]);
        });
    }
    if (hasUvs(vertices)) {
        const float* uvs = vertices.uvs.data();
        writeVectorList(file, "uv_vectors", vertices.vertexCount, [&](std::size_t v) {
            std::fprintf(file, "    <%f, %f>", uvs[2 * v], -uvs[2 * v + 1]);
        });
    }
    const std::uint32_t* indices = submesh.indices.data();
    writeVectorList(file, "face_indices", triangleIndexCount(submesh) / 3, [&](std::size_t f) {
        std::fprintf(file, "    <%u,%u,%u>", indices[3 * f], indices[3 * f + 1],
                     indices[3 * f + 2]);
    });
    std::fprintf(file, "  }\r\n\r\n");
}

}  // namespace verada
