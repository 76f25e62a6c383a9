#include "formats/model/gmdc_reader.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "formats/io/byte_cursor.h"
#include "formats/io/zeroed_allocation.h"
#include "formats/io/printf_text.h"

namespace verada {
namespace {

constexpr std::uint32_t kTypeId = 0xAC4F8687;
constexpr std::uint32_t kMaxElements = 128;
constexpr std::uint32_t kMaxLinks = 128;
constexpr std::uint32_t kMaxReferences = 32;
constexpr std::uint32_t kMaxGroups = 128;
constexpr std::uint32_t kMaxBones = 256;
constexpr std::uint32_t kMaxJoints = 128;
constexpr int kMaxBoundedListItems = 63;

constexpr std::uint32_t kMorphTargetType = 0x7C4DEE82;
constexpr std::uint32_t kMorphMapType = 0xDCF2CFDC;
constexpr std::uint32_t kSkinWeightType = 0x3BD70105;

constexpr char kAllocationError[] = "ERR: Memory Allocation Error";
constexpr char kExtensionSkipped[] = "WARN: Unhandled P1 Extension Block skipped.\r\n";

// How an element's data and list parts are taken.
enum class DataPart { Skip, Vectors, Pairs, Words, Raw };
enum class ListPart { Skip, Keep };
enum class BoundedList { None, MorphTargets, MorphMaps };

struct ElementRule {
    std::uint32_t type;
    DataPart data;
    const char* dataWarning;
    ListPart list;
    const char* listWarning;
    BoundedList bounded;
};

constexpr ElementRule kElementRules[] = {
    {0x1C4AFC56, DataPart::Skip, "WARN: Unhandled Data Type 0x1c4afc56 skipped.\r\n",
     ListPart::Skip, kExtensionSkipped, BoundedList::None},
    {0x5C4AFC5C, DataPart::Skip, "WARN: Unhandled Data Type 0x5c4afc5c skipped.\r\n",
     ListPart::Skip, kExtensionSkipped, BoundedList::None},
    {kMorphTargetType, DataPart::Vectors, nullptr, ListPart::Keep, nullptr,
     BoundedList::MorphTargets},
    {0xCB6F3A6A, DataPart::Vectors, nullptr, ListPart::Skip, kExtensionSkipped, BoundedList::None},
    {0xCB7206A1, DataPart::Skip, "WARN: Unhandled CB7206A1 Block present.\r\n", ListPart::Skip,
     "WARN: Unhandled CB7206A1 Extension Block skipped.\r\n", BoundedList::None},
    {0xEB720693, DataPart::Skip, "WARN: Unhandled EB720693 Block present.\r\n", ListPart::Skip,
     "WARN: Unhandled EB720693 Extension Block skipped.\r\n", BoundedList::None},
    {0x3B83078B, DataPart::Vectors, nullptr, ListPart::Skip,
     "WARN: Unhandled 3B83078B Extension Block skipped.\r\n", BoundedList::None},
    {0x5B830781, DataPart::Vectors, nullptr, ListPart::Keep, nullptr, BoundedList::None},
    {0xBB8307AB, DataPart::Pairs, nullptr, ListPart::Keep, nullptr, BoundedList::None},
    {0xDB830795, DataPart::Words, "WARN: Unhandled UV Deltas Block present.\r\n", ListPart::Keep,
     nullptr, BoundedList::None},
    {0x9BB38AFB, DataPart::Skip, "WARN: Unhandled 9BB38AFB Block present.\r\n", ListPart::Keep,
     nullptr, BoundedList::None},
    {kSkinWeightType, DataPart::Raw, nullptr, ListPart::Skip,
     "WARN: Unhandled 3BD70105 Extension Block skipped.\r\n", BoundedList::None},
    {0xFBD70111, DataPart::Raw, nullptr, ListPart::Skip,
     "WARN: Unhandled FBD70111 Extension Block skipped.\r\n", BoundedList::None},
    {0x89D92BA0, DataPart::Vectors, nullptr, ListPart::Keep, nullptr, BoundedList::None},
    {0x69D92B93, DataPart::Skip, "WARN: Unhandled 69D92B93 Block present.\r\n", ListPart::Skip,
     "WARN: Unhandled 69D92B93 Extension Block skipped.\r\n", BoundedList::None},
    {0x5CF2CFE1, DataPart::Vectors, nullptr, ListPart::Keep, nullptr, BoundedList::None},
    {kMorphMapType, DataPart::Raw, nullptr, ListPart::Skip,
     "WARN: Unhandled DCF2CFDC Extension Block skipped.\r\n", BoundedList::MorphMaps},
    {0x114113C3, DataPart::Skip, "WARN: Unhandled Pets (VertexID) data block in mesh.\r\n",
     ListPart::Skip, "WARN: Unhandled Pets (VertexID) data block in mesh.\r\n", BoundedList::None},
    {0x114113CD, DataPart::Skip, "WARN: Unhandled Pets (RegionMask) data block in mesh.\r\n",
     ListPart::Skip, "WARN: Unhandled Pets (RegionMask) data block in mesh.\r\n",
     BoundedList::None},
};

std::size_t itemSize(DataPart part) {
    switch (part) {
        case DataPart::Vectors:
            return 12;
        case DataPart::Pairs:
            return 8;
        case DataPart::Words:
            return 4;
        default:
            return 1;
    }
}

struct ElementSlot {
    std::uint32_t type = 0;
    std::uint32_t dataSize = 0;
    bool hasData = false;
    std::vector<float> data;  // dataSize bytes, rounded up to whole floats
};

struct LinkSlot {
    std::uint32_t referenceCount = 0;
    std::array<std::uint32_t, kMaxReferences> references{};
    std::uint32_t vertexCount = 0;
};

struct GroupSlot {
    std::uint32_t link = 0;
    std::string name;
    std::uint32_t indexCount = 0;
    std::vector<std::uint16_t> indices;
    std::vector<float> zeroUvs;  // for links without a texture-coordinate element
};

// Lives for the program run; the model's arrays point into it.
struct GmdcState {
    std::array<ElementSlot, kMaxElements> elements;
    std::array<LinkSlot, kMaxLinks> links;
    std::array<GroupSlot, kMaxGroups> groups;
    std::uint32_t elementCount = 0;
    std::uint32_t linkCount = 0;
    std::uint32_t groupCount = 0;
    std::uint32_t version = 0;
    int morphTargets = 0;
    int morphMaps = 0;
    std::string warningLog;
};

GmdcState& state() {
    static GmdcState gmdc;
    return gmdc;
}

template <typename T>
void freeBuffer(std::vector<T>& buffer) {
    std::vector<T>().swap(buffer);
}

class GmdcRead {
  public:
    GmdcRead(ImportedModel& model, const std::vector<std::uint8_t>& bytes)
        : model_(model), cursor_(bytes), s_(state()) {}

    std::optional<std::string> run();

  private:
    std::size_t listItemWidth() const { return s_.version == 4 ? 2 : 4; }
    std::optional<std::string> readHeader();
    std::optional<std::string> readName(std::string* name);
    std::optional<std::string> readElements();
    std::optional<std::string> readElement(std::uint32_t slot);
    std::optional<std::string> readElementData(ElementSlot& element, const ElementRule& rule);
    std::optional<std::string> readLinks();
    std::optional<std::string> readLink(LinkSlot& link);
    std::optional<std::string> readGroups();
    std::optional<std::string> readGroup(GroupSlot& group);
    std::optional<std::string> readTrailer();
    std::optional<std::string> readMeshBlock();
    std::optional<std::string> readListItem(std::uint32_t& out);
    std::optional<std::string> pass(std::uint64_t count);
    std::optional<std::string> buildGroup(std::uint32_t g);
    std::optional<std::string> checkItems(std::uint32_t element, std::size_t itemBytes,
                                          std::uint32_t vertexCount) const;

    ImportedModel& model_;
    ByteCursor cursor_;
    GmdcState& s_;
};

// Parts the reader does not use must still be there: a file cut short is an error.
std::optional<std::string> GmdcRead::pass(std::uint64_t count) {
    bool present = cursor_.has(count);
    cursor_.skip(count);
    return present ? std::nullopt : std::optional<std::string>(kFileReadError);
}

std::optional<std::string> GmdcRead::readListItem(std::uint32_t& out) {
    if (listItemWidth() == 4) {
        return cursor_.readU32(out);
    }
    std::uint16_t item = 0;
    if (auto error = cursor_.readU16(item)) {
        return error;
    }
    out = item;
    return std::nullopt;
}

std::optional<std::string> GmdcRead::readName(std::string* name) {
    std::uint8_t length = 0;
    if (auto error = cursor_.readU8(length)) {
        return error;
    }
    length &= 0x7F;
    char characters[128] = {};
    if (cursor_.readBytes(characters, length) != length) {
        return kFileReadError;
    }
    if (name) {
        name->assign(characters, length);
    }
    return std::nullopt;
}

std::optional<std::string> GmdcRead::run() {
    if (auto error = readHeader()) {
        return error;
    }
    if (auto error = readElements()) {
        return error;
    }
    if (auto error = readLinks()) {
        return error;
    }
    if (auto error = readGroups()) {
        return error;
    }
    if (auto error = readTrailer()) {
        return error;
    }
    model_.groups.resize(s_.groupCount);
    for (std::uint32_t g = 0; g < s_.groupCount; ++g) {
        if (auto error = buildGroup(g)) {
            return error;
        }
    }
    return std::nullopt;
}

std::optional<std::string> GmdcRead::readHeader() {
    std::uint8_t header[67] = {};
    std::size_t size = 63;
    if (cursor_.readBytes(header, size) != size) {
        return kFileReadError;
    }
    std::size_t shift = 0;
    if ((header[0] | header[1] << 8) == 1) {
        if (cursor_.readBytes(header + size, 4) != 4) {
            return kFileReadError;
        }
        shift = 4;
    }
    auto word = [&](std::size_t offset) {
        const std::uint8_t* b = header + offset + shift;
        return std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
               std::uint32_t{b[3]} << 24;
    };
    if (word(8) != kTypeId) {
        return "ERR: Unknown file type (not 0xAC4F8687).";
    }
    s_.version = word(39);
    if (s_.version != 1 && s_.version != 2 && s_.version != 4) {
        return "ERR: Unknown Version ID (not 1, 2 or 4).";
    }
    return readName(nullptr);
}

std::optional<std::string> GmdcRead::readElements() {
    if (auto error = cursor_.readU32(s_.elementCount)) {
        return error;
    }
    if (s_.elementCount >= kMaxElements) {
        return "ERR: Too many P1 sections for this implementation.";
    }
    for (std::uint32_t slot = 0; slot < s_.elementCount; ++slot) {
        if (auto error = readElement(slot)) {
            return error;
        }
    }
    return std::nullopt;
}

std::optional<std::string> GmdcRead::readElement(std::uint32_t slot) {
    std::uint32_t words[6] = {};
    for (std::uint32_t& word : words) {
        if (auto error = cursor_.readU32(word)) {
            return error;
        }
    }
    ElementSlot& element = s_.elements[slot];
    element.type = words[1];
    element.dataSize = words[5];
    const ElementRule* rule =
        std::find_if(std::begin(kElementRules), std::end(kElementRules),
                     [&](const ElementRule& r) { return r.type == element.type; });
    if (rule == std::end(kElementRules)) {
        return printfText("Unrecognized Chunk ID 0x%08X present in slot %d.", element.type,
                          static_cast<int>(slot));
    }
    if (element.dataSize != 0) {
        if (element.type == kSkinWeightType && words[3] > 2) {
            return "ERR: Too many Skin Weights";
        }
        if (rule->dataWarning) {
            s_.warningLog += rule->dataWarning;
        }
        if (auto error = readElementData(element, *rule)) {
            return error;
        }
    }
    std::uint32_t listCount = 0;
    if (auto error = cursor_.readU32(listCount)) {
        return error;
    }
    if (listCount != 0) {
        if (rule->listWarning) {
            s_.warningLog += rule->listWarning;
        }
        // Kept lists hold skinning and morph data the model does not carry.
        if (auto error = pass(std::uint64_t{listCount} * listItemWidth())) {
            return error;
        }
    }
    if (rule->bounded != BoundedList::None) {
        int& members = rule->bounded == BoundedList::MorphTargets ? s_.morphTargets : s_.morphMaps;
        if (++members > kMaxBoundedListItems) {
            return "ERR: Too many target indices in GMDC.";
        }
    }
    return std::nullopt;
}

// Whole items only; the bytes of a partial last item are left for the next read.
std::optional<std::string> GmdcRead::readElementData(ElementSlot& element,
                                                     const ElementRule& rule) {
    if (rule.data == DataPart::Skip) {
        return pass(element.dataSize);
    }
    std::size_t item = itemSize(rule.data);
    std::size_t itemCount = element.dataSize / item;
    if (!cursor_.has(std::uint64_t{itemCount} * item)) {
        cursor_.skip(std::uint64_t{itemCount} * item);
        return kFileReadError;
    }
    if (!allocateZeroed(element.data, (std::size_t{element.dataSize} + 3) / 4)) {
        return kAllocationError;
    }
    element.hasData = true;
    if (rule.data != DataPart::Vectors) {
        cursor_.readBytes(element.data.data(), itemCount * item);
        return std::nullopt;
    }
    for (std::size_t i = 0; i < itemCount; ++i) {
        float v[3] = {};
        cursor_.readBytes(v, sizeof v);
        element.data[3 * i] = -v[0];
        element.data[3 * i + 1] = v[2];
        element.data[3 * i + 2] = v[1];
    }
    return std::nullopt;
}

std::optional<std::string> GmdcRead::readLinks() {
    if (auto error = cursor_.readU32(s_.linkCount)) {
        return error;
    }
    if (s_.linkCount > kMaxLinks) {
        return "ERR: Too many P2 sections for this implementation.";
    }
    for (std::uint32_t l = 0; l < s_.linkCount; ++l) {
        if (auto error = readLink(s_.links[l])) {
            return error;
        }
    }
    return std::nullopt;
}

std::optional<std::string> GmdcRead::readLink(LinkSlot& link) {
    if (auto error = cursor_.readU32(link.referenceCount)) {
        return error;
    }
    if (link.referenceCount > kMaxReferences) {
        return "ERR: Too many P2 Index List Items.";
    }
    if (link.referenceCount < 1) {
        return "ERR: Model lacks vertices.";
    }
    if (link.referenceCount == 1) {
        return "ERR: Model lacks normals.";
    }
    for (std::uint32_t r = 0; r < link.referenceCount; ++r) {
        std::uint32_t reference = 0;
        if (auto error = readListItem(reference)) {
            return error;
        }
        // 16-bit references are signed.
        std::int32_t number = listItemWidth() == 2 ? static_cast<std::int16_t>(reference)
                                                   : static_cast<std::int32_t>(reference);
        if (number < 0 || static_cast<std::uint32_t>(number) >= s_.elementCount) {
            return printfText("ERR: P2 Index List Item %d out of range, %d P1 sections present.",
                              number, static_cast<int>(s_.elementCount));
        }
        link.references[r] = static_cast<std::uint32_t>(number);
    }
    std::uint32_t ignored = 0;
    if (auto error = cursor_.readU32(link.vertexCount)) {
        return error;
    }
    if (auto error = cursor_.readU32(ignored)) {
        return error;
    }
    for (int i = 0; i < 3; ++i) {
        std::uint32_t extension = 0;
        if (auto error = cursor_.readU32(extension)) {
            return error;
        }
        if (extension != 0) {
            return "ERR: Unimplemented P2 Extension block present.";
        }
    }
    return std::nullopt;
}

std::optional<std::string> GmdcRead::readGroups() {
    if (auto error = cursor_.readU32(s_.groupCount)) {
        return error;
    }
    if (s_.groupCount > kMaxGroups) {
        return "ERR: Too many P3 sections for this implementation.";
    }
    for (std::uint32_t g = 0; g < s_.groupCount; ++g) {
        if (auto error = readGroup(s_.groups[g])) {
            return error;
        }
    }
    return std::nullopt;
}

std::optional<std::string> GmdcRead::readGroup(GroupSlot& group) {
    std::uint32_t ignored = 0;
    if (auto error = cursor_.readU32(ignored)) {
        return error;
    }
    if (auto error = cursor_.readU32(group.link)) {
        return error;
    }
    if (auto error = readName(&group.name)) {
        return error;
    }
    if (auto error = cursor_.readU32(group.indexCount)) {
        return error;
    }
    std::uint32_t references = group.link < s_.linkCount ? s_.links[group.link].referenceCount : 0;
    if (references < 2) {
        return "ERR: Too Few units to build model";
    }
    if (references == 2) {
        s_.warningLog += "WARN: Model lacks UVs.\r\n";
    }
    std::uint64_t indexBytes = std::uint64_t{group.indexCount} * listItemWidth();
    if (!cursor_.has(indexBytes)) {
        cursor_.skip(indexBytes);
        return kFileReadError;
    }
    if (!allocateZeroed(group.indices, group.indexCount)) {
        return kAllocationError;
    }
    for (std::uint16_t& index : group.indices) {
        std::uint32_t item = 0;
        if (auto error = readListItem(item)) {
            return error;
        }
        index = static_cast<std::uint16_t>(item);
    }
    if (auto error = cursor_.readU32(ignored)) {
        return error;
    }
    if (s_.version == 1) {
        return std::nullopt;
    }
    std::uint32_t boneCount = 0;
    if (auto error = cursor_.readU32(boneCount)) {
        return error;
    }
    if (boneCount >= kMaxBones) {
        return "ERR: Parse Error; too many bone index items";
    }
    return pass(std::uint64_t{boneCount} * listItemWidth());
}

std::optional<std::string> GmdcRead::readTrailer() {
    std::uint32_t jointCount = 0;
    if (auto error = cursor_.readU32(jointCount)) {
        return error;
    }
    if (jointCount > kMaxJoints) {
        return "ERR: Too many joints defined in file.";
    }
    if (auto error = pass(std::uint64_t{jointCount} * 28)) {
        return error;
    }
    std::uint32_t namePairs = 0;
    if (auto error = cursor_.readU32(namePairs)) {
        return error;
    }
    for (std::uint32_t n = 0; n < namePairs; ++n) {
        for (int i = 0; i < 2; ++i) {
            if (auto error = readName(nullptr)) {
                return error;
            }
        }
    }
    if (auto error = readMeshBlock()) {
        return error;
    }
    std::uint32_t boundingSets = 0;
    if (auto error = cursor_.readU32(boundingSets)) {
        return error;
    }
    for (std::uint32_t set = 0; set < boundingSets; ++set) {
        if (auto error = readMeshBlock()) {
            return error;
        }
    }
    return std::nullopt;
}

// The static mesh and each bounding set: a vertex count and, when that is not 0, a face count,
// the vertices and the faces.
std::optional<std::string> GmdcRead::readMeshBlock() {
    std::uint32_t vertexCount = 0;
    if (auto error = cursor_.readU32(vertexCount)) {
        return error;
    }
    if (vertexCount == 0) {
        return std::nullopt;
    }
    std::uint32_t faceCount = 0;
    if (auto error = cursor_.readU32(faceCount)) {
        return error;
    }
    if (auto error = pass(std::uint64_t{vertexCount} * 12)) {
        return error;
    }
    return pass(std::uint64_t{faceCount} * listItemWidth());
}

std::optional<std::string> GmdcRead::checkItems(std::uint32_t element, std::size_t itemBytes,
                                                std::uint32_t vertexCount) const {
    std::uint32_t items = s_.elements[element].dataSize / itemBytes;
    if (items < vertexCount) {
        return printfText("ERR: P1 section %d too short, expected %d items, %d found.",
                          static_cast<int>(element), static_cast<int>(vertexCount),
                          static_cast<int>(items));
    }
    return std::nullopt;
}

std::optional<std::string> GmdcRead::buildGroup(std::uint32_t g) {
    GroupSlot& slot = s_.groups[g];
    const LinkSlot& link = s_.links[slot.link];
    const std::uint32_t* references = link.references.data();
    int morphMaps = static_cast<int>(
        std::count_if(references, references + link.referenceCount,
                      [&](std::uint32_t r) { return s_.elements[r].type == kMorphMapType; }));
    if (morphMaps > 1) {
        return "More than one morph map present for model.";
    }
    ModelGroup& group = model_.groups[g];
    group.name = slot.name;
    if (link.vertexCount == 0) {
        return "ERR: Empty model. No Verts.";
    }
    if (slot.indexCount == 0) {
        return "ERR: Empty model. No faces.";
    }
    const ElementSlot& positions = s_.elements[references[0]];
    const ElementSlot& normals = s_.elements[references[1]];
    bool hasUvElement = link.referenceCount > 2;
    if (!positions.hasData) {
        return "ERR: NULL vertice array pointer.";
    }
    if (!normals.hasData) {
        return "ERR: NULL normals array pointer.";
    }
    if (hasUvElement && !s_.elements[references[2]].hasData) {
        return "ERR: NULL UV array pointer.";
    }
    // Never hand the builder more vertices than the elements hold.
    if (auto error = checkItems(references[0], 12, link.vertexCount)) {
        return error;
    }
    if (auto error = checkItems(references[1], 12, link.vertexCount)) {
        return error;
    }
    if (hasUvElement) {
        if (auto error = checkItems(references[2], 8, link.vertexCount)) {
            return error;
        }
        group.uvs = s_.elements[references[2]].data.data();
    } else {
        if (!allocateZeroed(slot.zeroUvs, 2 * std::size_t{link.vertexCount})) {
            return kAllocationError;
        }
        group.uvs = slot.zeroUvs.data();
    }
    group.vertexCount = static_cast<std::int32_t>(link.vertexCount);
    group.faceCount = static_cast<std::int32_t>(slot.indexCount / 3);
    for (std::size_t i = 0; i < 3 * std::size_t(group.faceCount); ++i) {
        if (slot.indices[i] >= link.vertexCount) {
            return printfText("ERR: Face index range error in group %d, found %04X, max = %04X.",
                              static_cast<int>(g), slot.indices[i],
                              static_cast<unsigned>(link.vertexCount));
        }
    }
    group.positions = positions.data.data();
    group.normals = normals.data.data();
    group.faces = slot.indices.data();
    group.boundsMin = {0.0f, 0.0f, 0.0f};
    group.boundsMax = {0.0f, 0.0f, 0.0f};
    for (std::size_t k = 0; k < link.vertexCount; ++k) {
        for (int axis = 0; axis < 3; ++axis) {
            float value = group.positions[3 * k + axis];
            group.boundsMin[axis] = std::min(group.boundsMin[axis], value);
            group.boundsMax[axis] = std::max(group.boundsMax[axis], value);
        }
    }
    return std::nullopt;
}

}  // namespace

void releaseGmdcBuffers() {
    GmdcState& s = state();
    for (ElementSlot& element : s.elements) {
        freeBuffer(element.data);
        element.hasData = false;
    }
    for (GroupSlot& group : s.groups) {
        freeBuffer(group.indices);
        freeBuffer(group.zeroUvs);
    }
}

const std::string& gmdcWarningLog() {
    return state().warningLog;
}

std::optional<std::string> readGmdcData(ImportedModel& model, const std::string& fileName,
                                        const std::vector<std::uint8_t>& bytes) {
    model.fileName = fileName;
    model.groups.clear();
    releaseGmdcBuffers();
    GmdcState& s = state();
    s.elements.fill(ElementSlot{});
    s.links.fill(LinkSlot{});
    s.groups.fill(GroupSlot{});
    s.elementCount = s.linkCount = s.groupCount = s.version = 0;
    s.morphTargets = s.morphMaps = 0;
    s.warningLog.clear();
    std::optional<std::string> error = GmdcRead(model, bytes).run();
    if (error) {
        model.groups.clear();
        releaseGmdcBuffers();
    }
    return error;
}

std::optional<std::string> readGmdcFile(ImportedModel& model, const std::string& fileName) {
    std::optional<std::vector<std::uint8_t>> bytes = readWholeFile(fileName);
    if (!bytes) {
        return kFileMissingError;
    }
    return readGmdcData(model, fileName, *bytes);
}

}  // namespace verada
