// libFuzzer target for the three model readers. The first byte picks the reader, the rest is
// the file. Every array a successful read hands out is walked in full, so a group that claims
// more vertices or faces than its buffers hold shows up under AddressSanitizer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/model/gmdc_reader.h"
#include "formats/model/gmdl_reader.h"
#include "formats/model/gmsh_reader.h"

namespace {

volatile float sink;

void walk(const verada::ImportedModel& model) {
    float sum = 0;
    for (const verada::ModelGroup& group : model.groups) {
        for (int i = 0; i < 3 * group.vertexCount; ++i) {
            sum += group.positions[i] + group.normals[i];
        }
        for (int i = 0; i < 2 * group.vertexCount; ++i) {
            sum += group.uvs[i];
        }
        for (int i = 0; i < 3 * group.faceCount; ++i) {
            if (group.faces[i] >= group.vertexCount) {
                std::abort();
            }
        }
    }
    sink = sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::vector<std::uint8_t> bytes(data + 1, data + size);
    verada::ImportedModel model;
    std::optional<std::string> error;
    switch (data[0] % 3) {
        case 0:
            error = verada::readGmdlData(model, "KL-GMDL-00000000-11111111-22222222.gmdl", bytes);
            break;
        case 1:
            error = verada::readGmshData(model, "mesh.gmsh", bytes);
            break;
        default:
            error = verada::readGmdcData(model, "model.5gd", bytes);
            break;
    }
    if (!error) {
        walk(model);
    }
    verada::releaseGmdcBuffers();
    return 0;
}
