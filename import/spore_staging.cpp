#include "import/spore_staging.h"

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

}  // namespace verada
