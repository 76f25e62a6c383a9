#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace verada::test {

struct GmdlField {
    std::uint16_t typeCode;
    std::uint32_t usage;
};

struct GmdlGroup {
    std::vector<std::uint16_t> indices;
    std::optional<std::uint32_t> indexCount;  // else the number of indices
    std::optional<std::uint32_t> byteSize;    // else 2 × index count
};

// A GMDL file; every field has a value that reads, so a test changes only what it tests.
struct GmdlFile {
    std::uint32_t version = 8;
    std::uint32_t entryCount = 2;
    std::vector<GmdlGroup> groups;
    std::optional<std::uint32_t> groupCount;
    std::uint32_t formatType = 1;
    std::vector<GmdlField> fields{{2, 0}, {2, 2}, {1, 6}};
    std::optional<std::uint32_t> fieldCount;
    std::uint32_t vertexCount = 0;
    std::vector<std::uint8_t> pool;         // the vertices' bytes
    std::optional<std::uint32_t> poolSize;  // else the size of pool

    std::vector<std::uint8_t> bytes() const;
};

struct PlainVertex {
    std::array<float, 3> position;
    std::array<float, 3> normal;
    std::array<float, 2> uv;
};

// Pool bytes for the default fields: position, normal, texture coordinate as floats.
std::vector<std::uint8_t> plainPool(const std::vector<PlainVertex>& vertices);

// A valid file: vertices k = 0..count-1 at position (k, 2k, 3k), one group over them.
GmdlFile simpleGmdl(std::uint32_t vertexCount, std::vector<std::uint16_t> indices);

}  // namespace verada::test
