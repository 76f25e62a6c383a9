#include "tests/support/gmdc_writer.h"
#include "formats/io/byte_writer.h"

#include "tests/support/truncation.h"

namespace verada::test {

namespace {

void writeItem(ByteWriter& out, std::size_t width, std::uint32_t value) {
    if (width == 2) {
        out.u16(static_cast<std::uint16_t>(value));
    } else {
        out.u32(value);
    }
}

void writeName(ByteWriter& out, const std::string& name) {
    out.u8(static_cast<std::uint8_t>(name.size())).text(name);
}

void writeMeshBlock(ByteWriter& out, const GmdcMeshBlock& block, std::size_t width) {
    out.u32(block.vertexCount);
    if (block.vertexCount != 0) {
        out.u32(block.faceCount).zeros(12 * block.vertexCount + width * block.faceCount);
    }
}

}  // namespace

std::vector<std::uint8_t> GmdcFile::bytes() const {
    std::size_t width = itemWidth();
    ByteWriter out;
    std::size_t shift = longHeader ? 4 : 0;
    std::vector<std::uint8_t> header(63 + shift, 0xCC);
    header[0] = longHeader ? 1 : 2;
    header[1] = 0;
    for (int i = 0; i < 4; ++i) {
        header[8 + shift + i] = static_cast<std::uint8_t>(typeId >> (8 * i));
        header[39 + shift + i] = static_cast<std::uint8_t>(version >> (8 * i));
    }
    out.raw(header);
    writeName(out, name);

    out.u32(elementCount.value_or(static_cast<std::uint32_t>(elements.size())));
    for (const GmdcElement& element : elements) {
        out.u32(1).u32(element.type).u32(2).u32(element.blockFormat).u32(3);
        out.u32(element.dataSize.value_or(static_cast<std::uint32_t>(element.data.size())));
        out.raw(element.data);
        if (element.afterData) {
            out.raw(*element.afterData);
        } else {
            out.u32(element.listCount).zeros(width * element.listCount);
        }
    }

    out.u32(linkCount.value_or(static_cast<std::uint32_t>(links.size())));
    for (const GmdcLink& link : links) {
        out.u32(link.referenceCount.value_or(static_cast<std::uint32_t>(link.references.size())));
        for (std::int32_t reference : link.references) {
            writeItem(out, width, static_cast<std::uint32_t>(reference));
        }
        out.u32(link.vertexCount).u32(0x5555);
        for (std::uint32_t word : link.extension) {
            out.u32(word);
        }
    }

    out.u32(groupCount.value_or(static_cast<std::uint32_t>(groups.size())));
    for (const GmdcGroup& group : groups) {
        out.u32(0x6666).u32(group.link);
        writeName(out, group.name);
        out.u32(group.indexCount.value_or(static_cast<std::uint32_t>(group.indices.size())));
        for (std::uint32_t index : group.indices) {
            writeItem(out, width, index);
        }
        out.u32(0x7777);
        if (version != 1) {
            out.u32(group.boneCount).zeros(width * group.boneCount);
        }
    }

    out.u32(jointCount).zeros(28 * std::size_t{jointCount});
    out.u32(static_cast<std::uint32_t>(namePairs.size()));
    for (const auto& [first, second] : namePairs) {
        writeName(out, first);
        writeName(out, second);
    }
    writeMeshBlock(out, staticMesh, width);
    out.u32(static_cast<std::uint32_t>(boundingSets.size()));
    for (const GmdcMeshBlock& set : boundingSets) {
        writeMeshBlock(out, set, width);
    }
    return out.bytes();
}

GmdcElement vectorElement(std::uint32_t type, const std::vector<std::array<float, 3>>& items) {
    ByteWriter out;
    for (const auto& item : items) {
        out.f32(item[0]).f32(item[1]).f32(item[2]);
    }
    return {type, out.bytes(), {}, 0, 0, {}};
}

GmdcElement uvElement(const std::vector<std::array<float, 2>>& items) {
    ByteWriter out;
    for (const auto& item : items) {
        out.f32(item[0]).f32(item[1]);
    }
    return {0xBB8307AB, out.bytes(), {}, 0, 0, {}};
}

GmdcFile simpleGmdc(std::uint32_t version, std::uint32_t vertexCount,
                    std::vector<std::uint32_t> indices) {
    std::vector<std::array<float, 3>> positions;
    std::vector<std::array<float, 3>> normals;
    std::vector<std::array<float, 2>> uvs;
    for (std::uint32_t k = 0; k < vertexCount; ++k) {
        float f = static_cast<float>(k);
        positions.push_back({f, 2 * f, 3 * f});
        normals.push_back({0, 0, 1});
        uvs.push_back({f, -f});
    }
    GmdcFile file;
    file.version = version;
    file.elements = {vectorElement(0x5B830781, positions), vectorElement(0x3B83078B, normals),
                     uvElement(uvs)};
    file.links = {{{0, 1, 2}, vertexCount, {}, {}}};
    file.groups = {{0, "body", std::move(indices), 0, {}}};
    return file;
}

}  // namespace verada::test
