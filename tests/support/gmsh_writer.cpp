#include "tests/support/gmsh_writer.h"
#include "formats/io/byte_writer.h"

#include "tests/support/truncation.h"

namespace verada::test {

std::vector<std::uint8_t> GmshFile::bytes() const {
    ByteWriter out;
    out.be32(version).be32(version2).u32(0x12345678);
    out.be16(blockCount.value_or(static_cast<std::uint16_t>(blocks.size())));
    for (const GmshBlock& block : blocks) {
        out.u16(block.type).u16(7).u16(9).be16(block.count).be16(block.size).raw(block.items);
    }
    out.u16(faceBlockId).u16(7).u16(9);
    out.be16(indexCount.value_or(static_cast<std::uint16_t>(indices.size()))).be16(indexSize);
    for (std::uint16_t index : indices) {
        out.u16(index);
    }
    return out.bytes();
}

GmshBlock vectorBlock(std::uint16_t type, const std::vector<std::array<float, 3>>& items) {
    ByteWriter out;
    for (const auto& item : items) {
        out.f32(item[0]).f32(item[1]).f32(item[2]);
    }
    return {type, static_cast<std::uint16_t>(items.size()), 12, out.bytes()};
}

GmshBlock uvBlock(const std::vector<std::array<float, 2>>& items) {
    ByteWriter out;
    for (const auto& item : items) {
        out.f32(item[0]).f32(item[1]);
    }
    return {8, static_cast<std::uint16_t>(items.size()), 8, out.bytes()};
}

GmshFile simpleGmsh(std::uint16_t vertexCount, std::vector<std::uint16_t> indices) {
    std::vector<std::array<float, 3>> positions;
    std::vector<std::array<float, 3>> normals;
    std::vector<std::array<float, 2>> uvs;
    for (std::uint16_t k = 0; k < vertexCount; ++k) {
        float f = static_cast<float>(k);
        positions.push_back({f, 2 * f, 3 * f});
        normals.push_back({0, 0, 1});
        uvs.push_back({f, -f});
    }
    GmshFile file;
    file.blocks = {vectorBlock(1, positions), vectorBlock(2, normals), uvBlock(uvs)};
    file.indices = std::move(indices);
    return file;
}

}  // namespace verada::test
