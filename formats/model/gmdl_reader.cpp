#include "formats/model/gmdl_reader.h"

#include <algorithm>
#include <array>

#include "formats/io/byte_reader.h"
#include "formats/io/printf_text.h"
#include "formats/model/spore_staging.h"

namespace verada {
namespace {

constexpr std::uint32_t kMaxGroups = 128;
constexpr std::uint32_t kMaxFields = 12;
constexpr std::uint32_t kMaxVertices = 65535;
constexpr std::uint32_t kMaxIndices = 196608;

constexpr std::uint32_t kUsagePosition = 0;
constexpr std::uint32_t kUsageNormal = 2;
constexpr std::uint32_t kUsageUv = 6;

constexpr AllocationTexts kAllocationTexts{
    "ERR: Unable to allocate %d bytes for vertices in group %d.",
    "ERR: Unable to allocate %d bytes for normals in group %d.",
    "ERR: Unable to allocate %d bytes for UVs in group %d.",
    "ERR: Unable to allocate %d bytes for faces in group %d."};

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
    GmdlRead(const std::string& fileName, const std::vector<std::uint8_t>& bytes)
        : fileName_(fileName), reader_(bytes) {}

    Status run(ImportedModel& model);

  private:
    Status u32(std::uint32_t& out);
    Status readHeader();
    Status scanGroupTable();
    Status readVertexFormat();
    Status readVertexPool();
    Status readField(const VertexField& field, PoolVertex& vertex);
    Status readGroups(ImportedModel& model);
    Status readGroupIndices(std::uint32_t g, std::uint32_t& indexCount);

    const std::string& fileName_;
    ByteReader reader_;
    std::string modelName_;
    std::uint32_t groupCount_ = 0;
    std::size_t groupTableStart_ = 0;
    std::vector<VertexField> fields_;
    std::uint32_t vertexSize_ = 0;
    VertexPool pool_ = zeroedVertexPool();
    std::vector<std::uint16_t> indices_;
};

Status GmdlRead::u32(std::uint32_t& out) {
    return reader_.readU32(out) ? Status() : fail(kFileReadError);
}

Status GmdlRead::run(ImportedModel& model) {
    modelName_ = unpackedNameTail(fileName_, "KL-GMDL").value_or("unnamed");
    for (Status (GmdlRead::*step)() : {&GmdlRead::readHeader, &GmdlRead::scanGroupTable,
                                       &GmdlRead::readVertexFormat, &GmdlRead::readVertexPool}) {
        if (Status done = (this->*step)(); !done) {
            return done;
        }
    }
    return readGroups(model);
}

Status GmdlRead::readHeader() {
    std::uint32_t version = 0;
    if (Status read = u32(version); !read) {
        return read;
    }
    if (version != 7 && version != 8) {
        return fail(printfText("ERR: Expected version 7 or 8, found %08X instead.", version));
    }
    std::uint32_t entryCount = 0;
    if (!reader_.readU32Be(entryCount)) {
        return fail(kBigEndianU32ReadError);
    }
    reader_.skip(std::uint64_t{entryCount} * 12);
    std::uint32_t ignored = 0;
    if (Status read = u32(ignored); !read) {
        return read;
    }
    reader_.skip(28);
    return version == 7 ? u32(ignored) : Status();
}

// First pass: only to find where the vertex format starts.
Status GmdlRead::scanGroupTable() {
    if (Status read = u32(groupCount_); !read) {
        return read;
    }
    if (groupCount_ >= kMaxGroups) {
        return fail(printfText("ERR: Max %d groups for implementation, found %d.", kMaxGroups,
                               static_cast<int>(groupCount_)));
    }
    groupTableStart_ = reader_.position();
    for (std::uint32_t g = 0; g < groupCount_; ++g) {
        std::uint32_t words[4] = {};
        for (std::uint32_t& word : words) {
            if (Status read = u32(word); !read) {
                return read;
            }
        }
        reader_.skip(words[3]);
    }
    return {};
}

Status GmdlRead::readVertexFormat() {
    std::uint32_t formatType = 0;
    if (Status read = u32(formatType); !read) {
        return read;
    }
    if (formatType != 1) {
        return fail(printfText("ERR: Vertex Format type wrong, found %08X.", formatType));
    }
    std::uint32_t fieldCount = 0;
    if (Status read = u32(fieldCount); !read) {
        return read;
    }
    if (fieldCount > kMaxFields) {
        return fail(printfText("ERR: Max %d vertex fields for implementation, found %d.",
                               kMaxFields, static_cast<int>(fieldCount)));
    }
    for (std::uint32_t f = 0; f < fieldCount; ++f) {
        std::uint16_t words[4] = {};
        for (std::uint16_t& word : words) {
            if (!reader_.readU16(word)) {
                return fail(kFileReadError);
            }
        }
        VertexField field;
        field.typeCode = words[2];
        if (Status read = u32(field.usage); !read) {
            return read;
        }
        fields_.push_back(field);
        vertexSize_ += fieldSize(field.typeCode);
    }
    std::uint32_t ignored = 0;
    if (Status read = u32(ignored); !read) {
        return read;
    }
    return u32(ignored);
}

Status GmdlRead::readVertexPool() {
    std::uint32_t vertexCount = 0;
    if (Status read = u32(vertexCount); !read) {
        return read;
    }
    // Compared unsigned so that a negative count is refused too.
    if (vertexCount >= kMaxVertices) {
        return fail(printfText("ERR: Max %d vertices for implementation, found %d.", kMaxVertices,
                               static_cast<int>(vertexCount)));
    }
    std::uint32_t poolSize = 0;
    if (Status read = u32(poolSize); !read) {
        return read;
    }
    if (poolSize != vertexCount * vertexSize_) {
        return fail("ERR: Vertex pool size / vertex count mismatch.");
    }
    for (std::uint32_t k = 0; k < vertexCount; ++k) {
        for (const VertexField& field : fields_) {
            if (Status read = readField(field, pool_[k]); !read) {
                return read;
            }
        }
    }
    return {};
}

Status GmdlRead::readField(const VertexField& field, PoolVertex& vertex) {
    unsigned kind = field.typeCode & 7u;
    if (kind >= 4) {
        std::uint8_t bytes[8] = {};
        std::size_t size = fieldSize(field.typeCode);
        if (reader_.readBytes(bytes, size) != size) {
            return fail(kFileReadError);
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
        return {};
    }
    // Values the type does not carry count as 0.
    std::array<float, 4> v{};
    for (unsigned i = 0; i <= kind; ++i) {
        if (!reader_.readFloat(v[i])) {
            return fail(kFileReadError);
        }
    }
    if (field.usage == kUsagePosition) {
        vertex.position = spatial(v);
    } else if (field.usage == kUsageNormal) {
        vertex.normal = spatial(v);
    } else if (field.usage == kUsageUv) {
        vertex.uv = {v[0], v[1]};
    }
    return {};
}

Status GmdlRead::readGroupIndices(std::uint32_t g, std::uint32_t& indexCount) {
    std::uint32_t ignored = 0;
    std::uint32_t byteSize = 0;
    if (Status read = u32(ignored); !read) {
        return read;
    }
    if (Status read = u32(indexCount); !read) {
        return read;
    }
    if (indexCount > kMaxIndices) {
        return fail(printfText("ERR: Face point count max = %d, found %d in group %d.", kMaxIndices,
                               static_cast<int>(indexCount), static_cast<int>(g)));
    }
    if (Status read = u32(ignored); !read) {
        return read;
    }
    if (Status read = u32(byteSize); !read) {
        return read;
    }
    if (byteSize != 2 * indexCount) {
        return fail("ERR: Face group must be short index only.");
    }
    // Without indices there is no vertex range to take from the pool.
    if (indexCount == 0) {
        return fail(printfText("ERR: Empty face group %d. No face points.", static_cast<int>(g)));
    }
    indices_.resize(indexCount);
    for (std::uint16_t& index : indices_) {
        if (!reader_.readU16(index)) {
            return fail(kFileReadError);
        }
    }
    return {};
}

Status GmdlRead::readGroups(ImportedModel& model) {
    reader_.seek(groupTableStart_);
    model.groups.resize(groupCount_);
    for (std::uint32_t g = 0; g < groupCount_; ++g) {
        std::uint32_t indexCount = 0;
        if (Status read = readGroupIndices(g, indexCount); !read) {
            return read;
        }
        auto [lowest, highest] = std::minmax_element(indices_.begin(), indices_.end());
        ModelGroup& group = model.groups[g];
        group.name = printfText("GMDL-%s.%02d", modelName_.c_str(), static_cast<int>(g));
        if (Status filled =
                fillGroupFromPool(group, pool_, *lowest, *highest - *lowest + 1u, indices_.data(),
                                  indexCount, kAllocationTexts, static_cast<int>(g));
            !filled) {
            return filled;
        }
    }
    return {};
}

}  // namespace

Result<ImportedModel> readGmdlData(const std::string& fileName,
                                   const std::vector<std::uint8_t>& bytes) {
    ImportedModel model;
    model.fileName = fileName;
    if (Status read = GmdlRead(fileName, bytes).run(model); !read) {
        return fail(read.error());
    }
    return model;
}

}  // namespace verada
