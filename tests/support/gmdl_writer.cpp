#include "tests/support/gmdl_writer.h"
#include "formats/io/byte_writer.h"

#include "tests/support/truncation.h"

namespace verada::test {

std::vector<std::uint8_t> GmdlFile::bytes() const {
    ByteWriter out;
    out.u32(version).be32(entryCount).zeros(12 * std::size_t{entryCount});
    out.u32(0xAAAA).zeros(28);
    if (version == 7) {
        out.u32(0xBBBB);
    }
    out.u32(groupCount.value_or(static_cast<std::uint32_t>(groups.size())));
    for (const GmdlGroup& group : groups) {
        std::uint32_t count = group.indexCount.value_or(group.indices.size());
        out.u32(4).u32(count).u32(16).u32(group.byteSize.value_or(2 * count));
        for (std::uint16_t index : group.indices) {
            out.u16(index);
        }
    }
    out.u32(formatType).u32(fieldCount.value_or(static_cast<std::uint32_t>(fields.size())));
    for (const GmdlField& field : fields) {
        out.u16(0).u16(0).u16(field.typeCode).u16(0).u32(field.usage);
    }
    out.u32(0).u32(0);
    out.u32(vertexCount).u32(poolSize.value_or(static_cast<std::uint32_t>(pool.size())));
    out.raw(pool);
    return out.bytes();
}

std::vector<std::uint8_t> plainPool(const std::vector<PlainVertex>& vertices) {
    ByteWriter out;
    for (const PlainVertex& vertex : vertices) {
        for (float value : vertex.position) {
            out.f32(value);
        }
        for (float value : vertex.normal) {
            out.f32(value);
        }
        for (float value : vertex.uv) {
            out.f32(value);
        }
    }
    return out.bytes();
}

GmdlFile simpleGmdl(std::uint32_t vertexCount, std::vector<std::uint16_t> indices) {
    std::vector<PlainVertex> vertices;
    for (std::uint32_t k = 0; k < vertexCount; ++k) {
        float f = static_cast<float>(k);
        vertices.push_back({{f, 2 * f, 3 * f}, {0, 0, 1}, {f / 10, 1 - f / 10}});
    }
    GmdlFile file;
    file.groups.push_back({std::move(indices), {}, {}});
    file.vertexCount = vertexCount;
    file.pool = plainPool(vertices);
    return file;
}

}  // namespace verada::test
