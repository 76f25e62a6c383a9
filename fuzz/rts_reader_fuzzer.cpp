// libFuzzer target for the scene file reader. Every array of what it reads is walked in full
// and every face index checked against the vertices it indexes, and whatever was read must
// write out again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "formats/scenefile/rts_reader.h"
#include "formats/scenefile/rts_writer.h"

namespace {

volatile float sink;

std::size_t walkVertices(const verada::VertexArrays& vertices) {
    if (vertices.positions.size() != 3 * vertices.vertexCount ||
        vertices.normals.size() != 3 * vertices.vertexCount ||
        vertices.uvs.size() != 2 * vertices.vertexCount) {
        std::abort();
    }
    float sum = 0;
    for (float value : vertices.positions) {
        sum += value;
    }
    sink = sum;
    return vertices.vertexCount;
}

void walk(const verada::MeshSnapshot& mesh) {
    std::size_t shared = mesh.sharedVertices ? walkVertices(*mesh.sharedVertices) : 0;
    for (const verada::SubmeshSnapshot& submesh : mesh.submeshes) {
        std::size_t count = submesh.useSharedVertices ? shared : walkVertices(submesh.vertices);
        for (std::uint32_t index : submesh.indices) {
            if (index >= count) {
                std::abort();
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    verada::Result<verada::RtsScene> read = verada::readRtsText(text, verada::ViewSettings{});
    if (!read) {
        return 0;
    }
    for (const verada::MeshSnapshot& mesh : read->scene.meshes) {
        walk(mesh);
    }
    std::FILE* out = std::fopen("/dev/null", "wb");
    if (!out || !verada::writeRtsText(out, read->view, read->scene)) {
        std::abort();
    }
    std::fclose(out);
    return 0;
}
