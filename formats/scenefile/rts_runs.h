#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/io/result.h"
#include "formats/scene/scene_snapshot.h"
#include "formats/scenefile/rts_input.h"

namespace verada {

// One run of vertex or face lines of a mesh: found from the mesh's header line as the first
// line after it that carries the run's first tag, then line after line without gaps.
struct RtsRun {
    std::string meshName;
    std::optional<std::size_t> headerAt;  // the first line beginning with "[Mesh:name]"
    std::string prefix;                   // "ShV", "SM03V", "SM03F"
    std::string countKey;                 // the key that gave the count
    std::size_t count = 0;
};

// The eight reals of each line: position, normal, texture coordinates; components that do not
// scan are 0.
Result<VertexArrays> readVertexRun(RtsInput& input, const RtsRun& run);

// Three indices a line, each below the vertex count of the vertices they index.
Result<std::vector<std::uint32_t>> readFaceRun(RtsInput& input, const RtsRun& run,
                                               std::size_t vertexCount);

// "ERR: Bad count KEY=VALUE in [Mesh:name]."
std::string badCountText(const std::string& key, long long value, const std::string& meshName);

}  // namespace verada
