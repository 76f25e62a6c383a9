#include "formats/model/spore_staging.h"

#include "formats/io/path.h"
#include "formats/io/printf_text.h"
#include "formats/io/zeroed_allocation.h"

namespace verada {

std::optional<std::string> unpackedNameTail(const std::string& fileName,
                                            const std::string& prefix) {
    std::string base = baseName(fileName);
    if (base.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    constexpr std::size_t kTailStart = 17;
    constexpr std::size_t kTailLength = 17;
    return base.size() > kTailStart ? base.substr(kTailStart, kTailLength) : std::string();
}

Status fillGroupFromPool(ModelGroup& group, const VertexPool& pool, std::size_t first,
                         std::size_t vertexCount, const std::uint16_t* indices,
                         std::size_t indexCount, const AllocationTexts& texts, int groupNumber) {
    int count = static_cast<int>(vertexCount);
    if (!allocateZeroed(group.positions, 3 * vertexCount)) {
        return fail(printfText(texts.vertices, 12 * count, groupNumber));
    }
    if (!allocateZeroed(group.normals, 3 * vertexCount)) {
        return fail(printfText(texts.normals, 12 * count, groupNumber));
    }
    if (!allocateZeroed(group.uvs, 2 * vertexCount)) {
        return fail(printfText(texts.uvs, 8 * count, groupNumber));
    }
    if (!allocateZeroed(group.faces, indexCount - indexCount % 3)) {
        return fail(printfText(texts.faces, static_cast<int>(2 * indexCount), groupNumber));
    }
    for (std::size_t local = 0; local < vertexCount; ++local) {
        const PoolVertex& vertex = pool[first + local];
        for (int axis = 0; axis < 3; ++axis) {
            group.positions[3 * local + axis] = vertex.position[axis];
            group.normals[3 * local + axis] = vertex.normal[axis];
        }
        group.uvs[2 * local] = vertex.uv[0];
        group.uvs[2 * local + 1] = vertex.uv[1];
    }
    for (std::size_t i = 0; i < group.faces.size(); ++i) {
        group.faces[i] = static_cast<std::uint16_t>(indices[i] - first);
    }
    growBoundsOverPositions(group);
    return {};
}

}  // namespace verada
