#include "formats/model/gmsh_reader.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "formats/io/byte_cursor.h"
#include "formats/model/spore_staging.h"
#include "formats/io/zeroed_allocation.h"
#include "formats/io/printf_text.h"

namespace verada {
namespace {

constexpr std::uint16_t kBlockVertices = 1;
constexpr std::uint16_t kBlockNormals = 2;
constexpr std::uint16_t kBlockUvs = 8;

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

class GmshRead {
  public:
    GmshRead(ImportedModel& model, const std::string& fileName,
             const std::vector<std::uint8_t>& bytes)
        : model_(model), fileName_(fileName), cursor_(bytes) {}

    std::optional<std::string> run();

  private:
    std::optional<std::string> readHeader();
    std::optional<std::string> readBlock(int b);
    std::optional<std::string> readVertexBlock(int b);
    std::optional<std::string> readVectorBlock(int b, std::uint16_t type,
                                               const VectorBlockTexts& texts);
    std::optional<std::string> readOtherBlock(int b, std::uint16_t type);
    std::optional<std::string> readItem(float* out, std::size_t size, const char* shortRead);
    std::optional<std::string> readFaceBlock();
    std::optional<std::string> buildGroup();

    ImportedModel& model_;
    const std::string& fileName_;
    ByteCursor cursor_;
    std::uint16_t blockCount_ = 0;
    std::uint16_t vertexCount_ = 0;
    std::uint16_t indexCount_ = 0;
};

std::optional<std::string> GmshRead::run() {
    if (auto error = readHeader()) {
        return error;
    }
    clearVertexPool();
    clearIndexStaging();
    for (int b = 0; b < blockCount_; ++b) {
        if (auto error = readBlock(b)) {
            return error;
        }
    }
    if (auto error = readFaceBlock()) {
        return error;
    }
    return buildGroup();
}

std::optional<std::string> GmshRead::readHeader() {
    std::uint32_t version = 0;
    if (auto error = cursor_.readBigEndianU32(version)) {
        return error;
    }
    if (version != 1) {
        return printfText("ERR: Expected version value 1, found %08X instead.", version);
    }
    if (auto error = cursor_.readBigEndianU32(version)) {
        return error;
    }
    if (version != 1) {
        return printfText("ERR: Expected version2 value 1, found %08X instead.", version);
    }
    cursor_.skip(4);
    return cursor_.readBigEndianU16(blockCount_);
}

std::optional<std::string> GmshRead::readBlock(int b) {
    std::uint16_t type = 0;
    std::uint16_t ignored = 0;
    if (auto error = cursor_.readU16(type)) {
        return error;
    }
    for (int i = 0; i < 2; ++i) {
        if (auto error = cursor_.readU16(ignored)) {
            return error;
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

std::optional<std::string> GmshRead::readItem(float* out, std::size_t size, const char* shortRead) {
    std::uint8_t bytes[12] = {};
    std::size_t got = cursor_.readBytes(bytes, size);
    if (got != size) {
        return printfText(shortRead, static_cast<int>(got), static_cast<int>(size));
    }
    std::memcpy(out, bytes, size);
    return std::nullopt;
}

std::array<float, 3> spatial(const float* v) {
    return {v[0], v[2], -v[1]};
}

std::optional<std::string> GmshRead::readVertexBlock(int b) {
    std::uint16_t count = 0;
    if (auto error = cursor_.readBigEndianU16(count)) {
        return error;
    }
    if (vertexCount_ != 0) {
        return printfText("ERR: Unexpected extra Vertex group found, block %d.", b);
    }
    vertexCount_ = count;
    std::uint16_t size = 0;
    if (auto error = cursor_.readBigEndianU16(size)) {
        return error;
    }
    if (size != 12) {
        return printfText("ERR: Unexpected vertex group size value %d found.", size);
    }
    std::vector<PoolVertex>& pool = vertexPool();
    for (std::uint16_t k = 0; k < count; ++k) {
        float v[3] = {};
        if (auto error =
                readItem(v, 12, "ERR: Read error on vertices. Only %d of %d bytes read.")) {
            return error;
        }
        pool[k].position = spatial(v);
    }
    return std::nullopt;
}

std::optional<std::string> GmshRead::readVectorBlock(int b, std::uint16_t type,
                                                     const VectorBlockTexts& texts) {
    std::uint16_t count = 0;
    if (auto error = cursor_.readBigEndianU16(count)) {
        return error;
    }
    if (vertexCount_ == 0) {
        return printfText(texts.beforeVertices, b);
    }
    if (count != vertexCount_) {
        return printfText(texts.countMismatch, vertexCount_, count);
    }
    std::uint16_t size = 0;
    if (auto error = cursor_.readBigEndianU16(size)) {
        return error;
    }
    std::uint16_t expectedSize = type == kBlockUvs ? 8 : 12;
    if (size != expectedSize) {
        return printfText(texts.wrongSize, size);
    }
    std::vector<PoolVertex>& pool = vertexPool();
    for (std::uint16_t k = 0; k < count; ++k) {
        float v[3] = {};
        if (auto error = readItem(v, size, texts.shortRead)) {
            return error;
        }
        if (type == kBlockUvs) {
            pool[k].uv = {v[0], v[1]};
        } else {
            pool[k].normal = spatial(v);
        }
    }
    return std::nullopt;
}

std::optional<std::string> GmshRead::readOtherBlock(int b, std::uint16_t type) {
    std::uint16_t count = 0;
    if (auto error = cursor_.readBigEndianU16(count)) {
        return error;
    }
    if (vertexCount_ == 0) {
        return printfText("ERR: Group type %d found before vertex group, block %d.", type, b);
    }
    std::uint16_t size = 0;
    if (auto error = cursor_.readBigEndianU16(size)) {
        return error;
    }
    cursor_.skip(std::uint64_t{count} * size);
    return std::nullopt;
}

std::optional<std::string> GmshRead::readFaceBlock() {
    std::uint16_t id = 0;
    std::uint16_t ignored = 0;
    if (auto error = cursor_.readU16(id)) {
        return error;
    }
    if (id != 0) {
        return printfText("ERR: Unexpected face block id %d found.", id);
    }
    for (int i = 0; i < 2; ++i) {
        if (auto error = cursor_.readU16(ignored)) {
            return error;
        }
    }
    if (auto error = cursor_.readBigEndianU16(indexCount_)) {
        return error;
    }
    if (vertexCount_ == 0) {
        return "ERR: Face group found with zero Vertex Count.";
    }
    std::uint16_t size = 0;
    if (auto error = cursor_.readBigEndianU16(size)) {
        return error;
    }
    if (size != 2) {
        return printfText("ERR: Unexpected face block size value %d found.", size);
    }
    std::vector<std::uint16_t>& indices = indexStaging();
    for (std::uint16_t i = 0; i < indexCount_; ++i) {
        std::uint8_t bytes[2] = {};
        std::size_t got = cursor_.readBytes(bytes, 2);
        if (got != 2) {
            return printfText("ERR: Read error on face. Only %d of %d bytes read, loop %d.",
                              static_cast<int>(got), 2, i);
        }
        indices[i] = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
        if (indices[i] >= vertexCount_) {
            return printfText("ERR: Face index range error, found %04X, max = %04X.", indices[i],
                              vertexCount_);
        }
    }
    return std::nullopt;
}

std::optional<std::string> GmshRead::buildGroup() {
    model_.groups.resize(1);
    ModelGroup& group = model_.groups[0];
    group.boundsMin = {0.0f, 0.0f, 0.0f};
    group.boundsMax = {0.0f, 0.0f, 0.0f};
    std::optional<std::string> tail = unpackedNameTail(fileName_, "KL-GMSH");
    group.name = tail ? "GMSH-" + *tail : "unnamed";
    group.vertexCount = vertexCount_;
    int vertexCount = vertexCount_;
    if (!allocateZeroed(group.ownedPositions, 3 * std::size_t(vertexCount))) {
        return printfText("ERR: Unable to allocate %d bytes for vertices.", 12 * vertexCount);
    }
    if (!allocateZeroed(group.ownedNormals, 3 * std::size_t(vertexCount))) {
        return printfText("ERR: Unable to allocate %d bytes for normals.", 12 * vertexCount);
    }
    if (!allocateZeroed(group.ownedUvs, 2 * std::size_t(vertexCount))) {
        return printfText("ERR: Unable to allocate %d bytes for UVs.", 8 * vertexCount);
    }
    group.faceCount = indexCount_ / 3;
    if (!allocateZeroed(group.ownedFaces, indexCount_)) {
        return printfText("ERR: Unable to allocate %d bytes for faces.", 2 * indexCount_);
    }
    copyPoolVertices(group, 0);
    std::copy_n(indexStaging().begin(), indexCount_, group.ownedFaces.begin());
    group.pointAtOwnedArrays();
    return std::nullopt;
}

}  // namespace

std::optional<std::string> readGmshData(ImportedModel& model, const std::string& fileName,
                                        const std::vector<std::uint8_t>& bytes) {
    model.fileName = fileName;
    model.groups.clear();
    std::optional<std::string> error = GmshRead(model, fileName, bytes).run();
    if (error) {
        model.groups.clear();
    }
    return error;
}

std::optional<std::string> readGmshFile(ImportedModel& model, const std::string& fileName) {
    std::optional<std::vector<std::uint8_t>> bytes = readWholeFile(fileName);
    if (!bytes) {
        return kFileMissingError;
    }
    return readGmshData(model, fileName, *bytes);
}

}  // namespace verada
