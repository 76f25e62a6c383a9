#include "formats/model/gmdl_reader.h"

#include <algorithm>
#include <array>

#include "formats/io/byte_cursor.h"
#include "formats/model/spore_staging.h"
#include "formats/io/zeroed_allocation.h"
#include "formats/io/printf_text.h"

namespace verada {
namespace {

constexpr std::uint32_t kMaxGroups = 128;
constexpr std::uint32_t kMaxFields = 12;
constexpr std::uint32_t kMaxVertices = 65535;
constexpr std::uint32_t kMaxIndices = 196608;

constexpr std::uint32_t kUsagePosition = 0;
constexpr std::uint32_t kUsageNormal = 2;
constexpr std::uint32_t kUsageUv = 6;

struct VertexField {
    std::uint16_t typeCode = 0;
    std::uint32_t usage = 0;
};

// Bytes of one field, from the low three bits of its type code: 1 to 4 32-bit values, then 1
// to 4 16-bit values.
std::uint32_t fieldSize(std::uint16_t typeCode) {
    unsigned kind = typeCode & 7u;
    return kind < 4 ? 4 * (kind + 1) : 2 * (kind - 3);
}

std::array<float, 3> spatial(const std::array<float, 4>& v) {
    return {v[0], v[2], -v[1]};
}

class GmdlRead {
  public:
    GmdlRead(ImportedModel& model, const std::string& fileName,
             const std::vector<std::uint8_t>& bytes)
        : model_(model), fileName_(fileName), cursor_(bytes) {}

    std::optional<std::string> run();

  private:
    std::optional<std::string> readHeader();
    std::optional<std::string> scanGroupTable();
    std::optional<std::string> readVertexFormat();
    std::optional<std::string> readVertexPool();
    std::optional<std::string> readField(const VertexField& field, PoolVertex& vertex);
    std::optional<std::string> readGroups();
    std::optional<std::string> buildGroup(int g, std::uint32_t indexCount);

    ImportedModel& model_;
    const std::string& fileName_;
    ByteCursor cursor_;
    std::string modelName_;
    std::uint32_t groupCount_ = 0;
    std::size_t groupTableStart_ = 0;
    std::vector<VertexField> fields_;
    std::uint32_t vertexSize_ = 0;
};

std::optional<std::string> GmdlRead::run() {
    modelName_ = unpackedNameTail(fileName_, "KL-GMDL").value_or("unnamed");
    clearVertexPool();
    if (auto error = readHeader()) {
        return error;
    }
    if (auto error = scanGroupTable()) {
        return error;
    }
    if (auto error = readVertexFormat()) {
        return error;
    }
    if (auto error = readVertexPool()) {
        return error;
    }
    return readGroups();
}

std::optional<std::string> GmdlRead::readHeader() {
    std::uint32_t version = 0;
    if (auto error = cursor_.readU32(version)) {
        return error;
    }
    if (version != 7 && version != 8) {
        return printfText("ERR: Expected version 7 or 8, found %08X instead.", version);
    }
    std::uint32_t entryCount = 0;
    if (auto error = cursor_.readBigEndianU32(entryCount)) {
        return error;
    }
    cursor_.skip(std::uint64_t{entryCount} * 12);
    std::uint32_t ignored = 0;
    if (auto error = cursor_.readU32(ignored)) {
        return error;
    }
    cursor_.skip(28);
    if (version == 7) {
        if (auto error = cursor_.readU32(ignored)) {
            return error;
        }
    }
    return std::nullopt;
}

// First pass: only to find where the vertex format starts.
std::optional<std::string> GmdlRead::scanGroupTable() {
    if (auto error = cursor_.readU32(groupCount_)) {
        return error;
    }
    if (groupCount_ >= kMaxGroups) {
        return printfText("ERR: Max %d groups for implementation, found %d.", kMaxGroups,
                          static_cast<int>(groupCount_));
    }
    groupTableStart_ = cursor_.position();
    for (std::uint32_t g = 0; g < groupCount_; ++g) {
        std::uint32_t words[4] = {};
        for (std::uint32_t& word : words) {
            if (auto error = cursor_.readU32(word)) {
                return error;
            }
        }
        cursor_.skip(words[3]);
    }
    return std::nullopt;
}

std::optional<std::string> GmdlRead::readVertexFormat() {
    std::uint32_t formatType = 0;
    if (auto error = cursor_.readU32(formatType)) {
        return error;
    }
    if (formatType != 1) {
        return printfText("ERR: Vertex Format type wrong, found %08X.", formatType);
    }
    std::uint32_t fieldCount = 0;
    if (auto error = cursor_.readU32(fieldCount)) {
        return error;
    }
    if (fieldCount > kMaxFields) {
        return printfText("ERR: Max %d vertex fields for implementation, found %d.", kMaxFields,
                          static_cast<int>(fieldCount));
    }
    for (std::uint32_t f = 0; f < fieldCount; ++f) {
        std::uint16_t words[4] = {};
        for (std::uint16_t& word : words) {
            if (auto error = cursor_.readU16(word)) {
                return error;
            }
        }
        VertexField field;
        field.typeCode = words[2];
        if (auto error = cursor_.readU32(field.usage)) {
            return error;
        }
        fields_.push_back(field);
        vertexSize_ += fieldSize(field.typeCode);
    }
    std::uint32_t ignored = 0;
    for (int i = 0; i < 2; ++i) {
        if (auto error = cursor_.readU32(ignored)) {
            return error;
        }
    }
    return std::nullopt;
}

std::optional<std::string> GmdlRead::readVertexPool() {
    std::uint32_t vertexCount = 0;
    if (auto error = cursor_.readU32(vertexCount)) {
        return error;
    }
    // Compared unsigned so that a negative count is refused too.
    if (vertexCount >= kMaxVertices) {
        return printfText("ERR: Max %d vertices for implementation, found %d.", kMaxVertices,
                          static_cast<int>(vertexCount));
    }
    std::uint32_t poolSize = 0;
    if (auto error = cursor_.readU32(poolSize)) {
        return error;
    }
    if (poolSize != vertexCount * vertexSize_) {
        return "ERR: Vertex pool size / vertex count mismatch.";
    }
    std::vector<PoolVertex>& pool = vertexPool();
    for (std::uint32_t k = 0; k < vertexCount; ++k) {
        for (const VertexField& field : fields_) {
            if (auto error = readField(field, pool[k])) {
                return error;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> GmdlRead::readField(const VertexField& field, PoolVertex& vertex) {
    unsigned kind = field.typeCode & 7u;
    if (kind >= 4) {
        std::uint8_t bytes[8] = {};
        std::size_t size = fieldSize(field.typeCode);
        if (cursor_.readBytes(bytes, size) != size) {
            return kFileReadError;
        }
        // Spore stores normals as four bytes; the first three map 0..255 onto -1..1. Other
        // 16-bit forms are not decoded and leave zeros.
        if (kind == 5 && field.usage == kUsageNormal) {
            std::array<float, 4> v{};
            for (int i = 0; i < 3; ++i) {
                v[i] = (static_cast<float>(bytes[i]) - 127.5f) / 127.5f;
            }
            vertex.normal = spatial(v);
        }
        return std::nullopt;
    }
    // Values the type does not carry count as 0.
    std::array<float, 4> v{};
    for (unsigned i = 0; i <= kind; ++i) {
        if (auto error = cursor_.readFloat(v[i])) {
            return error;
        }
    }
    if (field.usage == kUsagePosition) {
        vertex.position = spatial(v);
    } else if (field.usage == kUsageNormal) {
        vertex.normal = spatial(v);
    } else if (field.usage == kUsageUv) {
        vertex.uv = {v[0], v[1]};
    }
    return std::nullopt;
}

std::optional<std::string> GmdlRead::readGroups() {
    cursor_.seek(groupTableStart_);
    model_.groups.resize(groupCount_);
    std::vector<std::uint16_t>& indices = indexStaging();
    for (std::uint32_t g = 0; g < groupCount_; ++g) {
        std::uint32_t ignored = 0;
        std::uint32_t indexCount = 0;
        std::uint32_t byteSize = 0;
        if (auto error = cursor_.readU32(ignored)) {
            return error;
        }
        if (auto error = cursor_.readU32(indexCount)) {
            return error;
        }
        if (indexCount > kMaxIndices) {
            return printfText("ERR: Face point count max = %d, found %d in group %d.", kMaxIndices,
                              static_cast<int>(indexCount), static_cast<int>(g));
        }
        if (auto error = cursor_.readU32(ignored)) {
            return error;
        }
        if (auto error = cursor_.readU32(byteSize)) {
            return error;
        }
        if (byteSize != 2 * indexCount) {
            return "ERR: Face group must be short index only.";
        }
        // Without indices there is no vertex range to take from the pool.
        if (indexCount == 0) {
            return printfText("ERR: Empty face group %d. No face points.", static_cast<int>(g));
        }
        for (std::uint32_t i = 0; i < indexCount; ++i) {
            if (auto error = cursor_.readU16(indices[i])) {
                return error;
            }
        }
        if (auto error = buildGroup(static_cast<int>(g), indexCount)) {
            return error;
        }
    }
    return std::nullopt;
}

std::optional<std::string> GmdlRead::buildGroup(int g, std::uint32_t indexCount) {
    const std::vector<std::uint16_t>& indices = indexStaging();
    auto [lowest, highest] = std::minmax_element(indices.begin(), indices.begin() + indexCount);
    std::uint32_t lo = *lowest;
    std::uint32_t hi = *highest;

    ModelGroup& group = model_.groups[g];
    group.boundsMin = {0.0f, 0.0f, 0.0f};
    group.boundsMax = {0.0f, 0.0f, 0.0f};
    group.name = printfText("GMDL-%s.%02d", modelName_.c_str(), g);
    group.vertexCount = static_cast<std::int32_t>(hi - lo + 1);
    group.faceCount = static_cast<std::int32_t>(indexCount / 3);

    int vertexCount = group.vertexCount;
    if (!allocateZeroed(group.ownedPositions, 3 * std::size_t(vertexCount))) {
        return printfText("ERR: Unable to allocate %d bytes for vertices in group %d.",
                          12 * vertexCount, g);
    }
    if (!allocateZeroed(group.ownedNormals, 3 * std::size_t(vertexCount))) {
        return printfText("ERR: Unable to allocate %d bytes for normals in group %d.",
                          12 * vertexCount, g);
    }
    if (!allocateZeroed(group.ownedUvs, 2 * std::size_t(vertexCount))) {
        return printfText("ERR: Unable to allocate %d bytes for UVs in group %d.", 8 * vertexCount,
                          g);
    }
    if (!allocateZeroed(group.ownedFaces, indexCount)) {
        return printfText("ERR: Unable to allocate %d bytes for faces in group %d.",
                          static_cast<int>(2 * indexCount), g);
    }
    copyPoolVertices(group, lo);
    for (std::uint32_t i = 0; i < indexCount; ++i) {
        group.ownedFaces[i] = static_cast<std::uint16_t>(indices[i] - lo);
    }
    group.pointAtOwnedArrays();
    return std::nullopt;
}

}  // namespace

std::optional<std::string> readGmdlData(ImportedModel& model, const std::string& fileName,
                                        const std::vector<std::uint8_t>& bytes) {
    model.fileName = fileName;
    model.groups.clear();
    std::optional<std::string> error = GmdlRead(model, fileName, bytes).run();
    if (error) {
        model.groups.clear();
    }
    return error;
}

std::optional<std::string> readGmdlFile(ImportedModel& model, const std::string& fileName) {
    std::optional<std::vector<std::uint8_t>> bytes = readWholeFile(fileName);
    if (!bytes) {
        return kFileMissingError;
    }
    return readGmdlData(model, fileName, *bytes);
}

}  // namespace verada
