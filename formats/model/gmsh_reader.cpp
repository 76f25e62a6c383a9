#include "formats/model/gmsh_reader.h"

#include <array>
#include <cstring>

#include "formats/io/byte_reader.h"
#include "formats/io/printf_text.h"
#include "formats/model/spore_staging.h"

namespace verada {
namespace {

constexpr std::uint16_t kBlockVertices = 1;
constexpr std::uint16_t kBlockNormals = 2;
constexpr std::uint16_t kBlockUvs = 8;

constexpr AllocationTexts kAllocationTexts{"ERR: Unable to allocate %d bytes for vertices.",
                                           "ERR: Unable to allocate %d bytes for normals.",
                                           "ERR: Unable to allocate %d bytes for UVs.",
                                           "ERR: Unable to allocate %d bytes for faces."};

// Texts of one vector block kind.
struct VectorBlockTexts {
    const char* beforeVertices;
    const char* countMismatch;
    const char* wrongSize;
    const char* shortRead;
};

constexpr VectorBlockTexts kNormalTexts{"ERR: Normal group found before vertex group, block %d.",
                                        "ERR: Normal count mismatch, expected %d items, %d found.",
                                        "ERR: Unexpected normal group size value %d found.",
                                        "ERR: Read error on normals. Only %d of %d bytes read."};
constexpr VectorBlockTexts kUvTexts{"ERR: UV group found before vertex group, block %d.",
                                    "ERR: UV count mismatch, expected %d items, %d found.",
                                    "ERR: Unexpected UV group size value %d found.",
                                    "ERR: Read error on UVs. Only %d of %d bytes read."};

std::array<float, 3> spatial(const float* v) {
    return {v[0], v[2], -v[1]};
}

class GmshRead {
  public:
    explicit GmshRead(const std::vector<std::uint8_t>& bytes) : reader_(bytes) {}

    Status run(ModelGroup& group);

  private:
    Status u16(std::uint16_t& out);
    Status be16(std::uint16_t& out);
    Status readHeader();
    Status readBlock(int b);
    Status readVertexBlock(int b);
    Status readVectorBlock(int b, std::uint16_t type, const VectorBlockTexts& texts);
    Status readOtherBlock(int b, std::uint16_t type);
    Status readItem(float* out, std::size_t size, const char* shortRead);
    Status readFaceBlock();

    ByteReader reader_;
    VertexPool pool_ = zeroedVertexPool();
    std::vector<std::uint16_t> indices_;
    std::uint16_t blockCount_ = 0;
    std::uint16_t vertexCount_ = 0;
};

Status GmshRead::u16(std::uint16_t& out) {
    return reader_.readU16(out) ? Status() : fail(kFileReadError);
}

Status GmshRead::be16(std::uint16_t& out) {
    return reader_.readU16Be(out) ? Status() : fail(kBigEndianU16ReadError);
}

Status GmshRead::run(ModelGroup& group) {
    if (Status read = readHeader(); !read) {
        return read;
    }
    for (int b = 0; b < blockCount_; ++b) {
        if (Status read = readBlock(b); !read) {
            return read;
        }
    }
    if (Status read = readFaceBlock(); !read) {
        return read;
    }
    return fillGroupFromPool(group, pool_, 0, vertexCount_, indices_.data(), indices_.size(),
                             kAllocationTexts, 0);
}

Status GmshRead::readHeader() {
    std::uint32_t version = 0;
    if (!reader_.readU32Be(version)) {
        return fail(kBigEndianU32ReadError);
    }
    if (version != 1) {
        return fail(printfText("ERR: Expected version value 1, found %08X instead.", version));
    }
    if (!reader_.readU32Be(version)) {
        return fail(kBigEndianU32ReadError);
    }
    if (version != 1) {
        return fail(printfText("ERR: Expected version2 value 1, found %08X instead.", version));
    }
    reader_.skip(4);
    return be16(blockCount_);
}

Status GmshRead::readBlock(int b) {
    std::uint16_t type = 0;
    std::uint16_t ignored = 0;
    for (std::uint16_t* word : {&type, &ignored, &ignored}) {
        if (Status read = u16(*word); !read) {
            return read;
        }
    }
    switch (type) {
        case kBlockVertices:
            return readVertexBlock(b);
        case kBlockNormals:
            return readVectorBlock(b, type, kNormalTexts);
        case kBlockUvs:
            return readVectorBlock(b, type, kUvTexts);
        default:
            return readOtherBlock(b, type);
    }
}

Status GmshRead::readItem(float* out, std::size_t size, const char* shortRead) {
    std::uint8_t bytes[12] = {};
    std::size_t got = reader_.readBytes(bytes, size);
    if (got != size) {
        return fail(printfText(shortRead, static_cast<int>(got), static_cast<int>(size)));
    }
    std::memcpy(out, bytes, size);
    return {};
}

Status GmshRead::readVertexBlock(int b) {
    std::uint16_t count = 0;
    if (Status read = be16(count); !read) {
        return read;
    }
    if (vertexCount_ != 0) {
        return fail(printfText("ERR: Unexpected extra Vertex group found, block %d.", b));
    }
    vertexCount_ = count;
    std::uint16_t size = 0;
    if (Status read = be16(size); !read) {
        return read;
    }
    if (size != 12) {
        return fail(printfText("ERR: Unexpected vertex group size value %d found.", size));
    }
    for (std::uint16_t k = 0; k < count; ++k) {
        float v[3] = {};
        if (Status read = readItem(v, 12, "ERR: Read error on vertices. Only %d of %d bytes read.");
            !read) {
            return read;
        }
        pool_[k].position = spatial(v);
    }
    return {};
}

Status GmshRead::readVectorBlock(int b, std::uint16_t type, const VectorBlockTexts& texts) {
    std::uint16_t count = 0;
    if (Status read = be16(count); !read) {
        return read;
    }
    if (vertexCount_ == 0) {
        return fail(printfText(texts.beforeVertices, b));
    }
    if (count != vertexCount_) {
        return fail(printfText(texts.countMismatch, vertexCount_, count));
    }
    std::uint16_t size = 0;
    if (Status read = be16(size); !read) {
        return read;
    }
    std::uint16_t expectedSize = type == kBlockUvs ? 8 : 12;
    if (size != expectedSize) {
        return fail(printfText(texts.wrongSize, size));
    }
    for (std::uint16_t k = 0; k < count; ++k) {
        float v[3] = {};
        if (Status read = readItem(v, size, texts.shortRead); !read) {
            return read;
        }
        if (type == kBlockUvs) {
            pool_[k].uv = {v[0], v[1]};
        } else {
            pool_[k].normal = spatial(v);
        }
    }
    return {};
}

Status GmshRead::readOtherBlock(int b, std::uint16_t type) {
    std::uint16_t count = 0;
    if (Status read = be16(count); !read) {
        return read;
    }
    if (vertexCount_ == 0) {
        return fail(printfText("ERR: Group type %d found before vertex group, block %d.", type, b));
    }
    std::uint16_t size = 0;
    if (Status read = be16(size); !read) {
        return read;
    }
    reader_.skip(std::uint64_t{count} * size);
    return {};
}

Status GmshRead::readFaceBlock() {
    std::uint16_t id = 0;
    std::uint16_t ignored = 0;
    if (Status read = u16(id); !read) {
        return read;
    }
    if (id != 0) {
        return fail(printfText("ERR: Unexpected face block id %d found.", id));
    }
    std::uint16_t indexCount = 0;
    for (std::uint16_t* word : {&ignored, &ignored}) {
        if (Status read = u16(*word); !read) {
            return read;
        }
    }
    if (Status read = be16(indexCount); !read) {
        return read;
    }
    if (vertexCount_ == 0) {
        return fail("ERR: Face group found with zero Vertex Count.");
    }
    std::uint16_t size = 0;
    if (Status read = be16(size); !read) {
        return read;
    }
    if (size != 2) {
        return fail(printfText("ERR: Unexpected face block size value %d found.", size));
    }
    indices_.resize(indexCount);
    for (std::uint16_t i = 0; i < indexCount; ++i) {
        std::uint8_t bytes[2] = {};
        std::size_t got = reader_.readBytes(bytes, 2);
        if (got != 2) {
            return fail(printfText("ERR: Read error on face. Only %d of %d bytes read, loop %d.",
                                   static_cast<int>(got), 2, i));
        }
        indices_[i] = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
        if (indices_[i] >= vertexCount_) {
            return fail(printfText("ERR: Face index range error, found %04X, max = %04X.",
                                   indices_[i], vertexCount_));
        }
    }
    return {};
}

}  // namespace

Result<ImportedModel> readGmshData(const std::string& fileName,
                                   const std::vector<std::uint8_t>& bytes) {
    ImportedModel model;
    model.fileName = fileName;
    ModelGroup group;
    std::optional<std::string> tail = unpackedNameTail(fileName, "KL-GMSH");
    group.name = tail ? "GMSH-" + *tail : "unnamed";
    if (Status read = GmshRead(bytes).run(group); !read) {
        return fail(read.error());
    }
    model.groups.push_back(std::move(group));
    return model;
}

}  // namespace verada
