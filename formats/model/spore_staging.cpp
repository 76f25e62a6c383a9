#include "formats/model/spore_staging.h"

#include <algorithm>

namespace verada {

std::vector<PoolVertex>& vertexPool() {
    static std::vector<PoolVertex> pool(kVertexPoolEntries);
    return pool;
}

void clearVertexPool() {
    std::fill(vertexPool().begin(), vertexPool().end(), PoolVertex{});
}

std::vector<std::uint16_t>& indexStaging() {
    static std::vector<std::uint16_t> indices(kIndexStagingEntries);
    return indices;
}

void clearIndexStaging() {
    std::fill(indexStaging().begin(), indexStaging().end(), 0);
}

std::optional<std::string> unpackedNameTail(const std::string& fileName,
                                            const std::string& prefix) {
    std::string base = fileName.substr(fileName.find_last_of('/') + 1);
    std::size_t dot = base.find_last_of('.');
    if (dot != std::string::npos) {
        base.erase(dot);
    }
    if (base.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    constexpr std::size_t kTailStart = 17;
    constexpr std::size_t kTailLength = 17;
    return base.size() > kTailStart ? base.substr(kTailStart, kTailLength) : std::string();
}

void copyPoolVertices(ModelGroup& group, std::size_t first) {
    const std::vector<PoolVertex>& pool = vertexPool();
    for (std::size_t local = 0; local < static_cast<std::size_t>(group.vertexCount); ++local) {
        const PoolVertex& vertex = pool[first + local];
        for (int axis = 0; axis < 3; ++axis) {
            group.ownedPositions[3 * local + axis] = vertex.position[axis];
            group.ownedNormals[3 * local + axis] = vertex.normal[axis];
            group.boundsMin[axis] = std::min(group.boundsMin[axis], vertex.position[axis]);
            group.boundsMax[axis] = std::max(group.boundsMax[axis], vertex.position[axis]);
        }
        group.ownedUvs[2 * local] = vertex.uv[0];
        group.ownedUvs[2 * local + 1] = vertex.uv[1];
    }
}

}  // namespace verada
