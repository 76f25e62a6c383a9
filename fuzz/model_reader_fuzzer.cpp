// libFuzzer target for the three model readers, each given the whole input, so that real files
// serve as seeds as they are. Every array a successful read hands out is walked in full, so a group
// whose arrays disagree with each other or whose faces point past its vertices shows up at once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/model/model_format.h"

namespace {

volatile float sink;

void walk(const verada::ImportedModel& model) {
    float sum = 0;
    for (const verada::ModelGroup& group : model.groups) {
        const std::size_t vertices = static_cast<std::size_t>(group.vertexCount());
        if (group.normals.size() != 3 * vertices || group.uvs.size() != 2 * vertices ||
            group.positions.size() != 3 * vertices || group.faces.size() % 3 != 0) {
            std::abort();
        }
        for (std::size_t i = 0; i < 3 * vertices; ++i) {
            sum += group.positions[i] + group.normals[i];
        }
        for (std::size_t i = 0; i < 2 * vertices; ++i) {
            sum += group.uvs[i];
        }
        for (std::uint16_t index : group.faces) {
            if (index >= vertices) {
                std::abort();
            }
        }
    }
    sink = sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr verada::ModelFormat kFormats[] = {
        verada::ModelFormat::Gmdl, verada::ModelFormat::Gmsh, verada::ModelFormat::Gmdc};
    static constexpr const char* kNames[] = {"KL-GMDL-00000000-11111111-22222222.gmdl", "mesh.gmsh",
                                             "model.5gd"};
    const std::vector<std::uint8_t> bytes(data, data + size);
    for (int reader = 0; reader < 3; ++reader) {
        verada::Result<verada::ImportedModel> read =
            verada::readModelData(kFormats[reader], kNames[reader], bytes);
        if (read) {
            walk(read.value());
        }
    }
    return 0;
}
