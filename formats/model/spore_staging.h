#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/model/imported_model.h"

namespace verada {

// Staging shared by the GMDL and GMSH readers; lives for the program run.
struct PoolVertex {
    std::array<float, 3> position{};
    std::array<float, 3> normal{};
    std::array<float, 2> uv{};
};

constexpr std::size_t kVertexPoolEntries = 65536;
constexpr std::size_t kIndexStagingEntries = 196608;

// kVertexPoolEntries entries.
std::vector<PoolVertex>& vertexPool();
void clearVertexPool();

// kIndexStagingEntries indices.
std::vector<std::uint16_t>& indexStaging();
void clearIndexStaging();

// Copies pool entries first .. first + vertexCount - 1 into the group's allocated arrays and
// grows its box over their positions.
void copyPoolVertices(ModelGroup& group, std::size_t first);

// For file names of the form "<prefix>-XXXXXXXX-AAAAAAAA-BBBBBBBB.ext" written by the package
// unpacker: the "AAAAAAAA-BBBBBBBB" part (characters 17 to 33 of the base name, possibly
// empty). Nothing when the base name does not begin with the prefix.
std::optional<std::string> unpackedNameTail(const std::string& fileName, const std::string& prefix);

}  // namespace verada
