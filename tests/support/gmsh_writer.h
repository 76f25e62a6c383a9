#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace verada::test {

struct GmshBlock {
    std::uint16_t type;
    std::uint16_t count;
    std::uint16_t size;
    std::vector<std::uint8_t> items;
};

// A GMSH file; every field has a value that reads, so a test changes only what it tests.
struct GmshFile {
    std::uint32_t version = 1;
    std::uint32_t version2 = 1;
    std::vector<GmshBlock> blocks;
    std::optional<std::uint16_t> blockCount;
    std::uint16_t faceBlockId = 0;
    std::uint16_t indexSize = 2;
    std::vector<std::uint16_t> indices;
    std::optional<std::uint16_t> indexCount;

    std::vector<std::uint8_t> bytes() const;
};

GmshBlock vectorBlock(std::uint16_t type, const std::vector<std::array<float, 3>>& items);
GmshBlock uvBlock(const std::vector<std::array<float, 2>>& items);

// A valid file with vertex, normal and texture-coordinate blocks: vertex k at (k, 2k, 3k),
// normal (0, 0, 1), texture coordinate (k, -k).
GmshFile simpleGmsh(std::uint16_t vertexCount, std::vector<std::uint16_t> indices);

}  // namespace verada::test
