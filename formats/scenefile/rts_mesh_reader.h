#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "formats/io/result.h"
#include "formats/scene/scene_snapshot.h"
#include "formats/scenefile/rts_input.h"

namespace verada {

// A mesh read from its [Mesh:name] section, with the material each submesh is shown with.
struct RtsMesh {
    MeshSnapshot mesh;
    std::vector<std::string> submeshMaterials;
};

// Reads the section of the mesh `name`; headerAt is where the first line that begins with
// "[Mesh:name]" starts, the vertex and face runs being searched from there. A mesh without a
// section is empty: no submesh, all-zero bounds.
Result<RtsMesh> readRtsMesh(RtsInput& input, const std::string& name,
                            std::optional<std::size_t> headerAt);

}  // namespace verada
