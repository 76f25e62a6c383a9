#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/io/result.h"
#include "formats/model/imported_model.h"

namespace verada {

// Staging shared by the GMDL and GMSH readers: a vertex pool that 16-bit indices address.
struct PoolVertex {
    std::array<float, 3> position{};
    std::array<float, 3> normal{};
    std::array<float, 2> uv{};
};

constexpr std::size_t kVertexPoolEntries = 65536;

// Every entry a 16-bit index can reach, zeroed.
using VertexPool = std::vector<PoolVertex>;
inline VertexPool zeroedVertexPool() {
    return VertexPool(kVertexPoolEntries);
}

// Texts for a failed allocation of the group's arrays; each takes the byte count, then the
// group number where the format names one.
struct AllocationTexts {
    const char* vertices;
    const char* normals;
    const char* uvs;
    const char* faces;
};

// Fills the group with pool entries first .. first + vertexCount - 1, the indices (less
// first) of the whole faces, and the bounds over the positions.
Status fillGroupFromPool(ModelGroup& group, const VertexPool& pool, std::size_t first,
                         std::size_t vertexCount, const std::uint16_t* indices,
                         std::size_t indexCount, const AllocationTexts& texts, int groupNumber);

// For file names of the form "<prefix>-XXXXXXXX-AAAAAAAA-BBBBBBBB.ext" written by the package
// unpacker: the "AAAAAAAA-BBBBBBBB" part (characters 17 to 33 of the base name, possibly
// empty). Nothing when the base name does not begin with the prefix.
std::optional<std::string> unpackedNameTail(const std::string& fileName, const std::string& prefix);

}  // namespace verada
