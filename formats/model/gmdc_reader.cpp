#include "formats/model/gmdc_reader.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "formats/io/byte_reader.h"
#include "formats/io/printf_text.h"
#include "formats/io/zeroed_allocation.h"

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
    std::vector<std::uint32_t> references;  // element numbers
    std::uint32_t vertexCount = 0;
};

struct GroupSlot {
    std::uint32_t link = 0;
    std::string name;
    std::vector<std::uint16_t> indices;
};

// One read from start to end; nothing outlives it but the model.
class GmdcRead {
  public:
    explicit GmdcRead(const std::vector<std::uint8_t>& bytes) : reader_(bytes) {}

    Status run(ImportedModel& model);
    const std::vector<std::string>& warnings() const { return warnings_; }

  private:
    std::size_t listItemWidth() const { return version_ == 4 ? 2 : 4; }
    Status u32(std::uint32_t& out);
    Status pass(std::uint64_t count);
    Status readListItem(std::uint32_t& out);
    Status readName(std::string* name);
    Status readHeader();
    Status readElements();
    Status readElement(std::uint32_t slot);
    Status readElementData(ElementSlot& element, const ElementRule& rule);
    Status readLinks();
    Status readLink(LinkSlot& link);
    Status readGroups();
    Status readGroup(GroupSlot& group);
    Status readTrailer();
    Status readMeshBlock();
    Status buildGroup(std::uint32_t g, ModelGroup& group) const;
    Status checkLink(const LinkSlot& link) const;
    Status checkItems(std::uint32_t element, std::size_t itemBytes,
                      std::uint32_t vertexCount) const;
    void warn(const char* text) { warnings_.push_back(text); }

    ByteReader reader_;
    std::vector<ElementSlot> elements_;
    std::vector<LinkSlot> links_;
    std::vector<GroupSlot> groups_;
    std::uint32_t version_ = 0;
    int morphTargets_ = 0;
    int morphMaps_ = 0;
    std::vector<std::string> warnings_;
};

Status GmdcRead::u32(std::uint32_t& out) {
    return reader_.readU32(out) ? Status() : fail(kFileReadError);
}

// Parts the reader does not use must still be there: a file cut short is an error.
Status GmdcRead::pass(std::uint64_t count) {
    bool present = reader_.has(count);
    reader_.skip(count);
    return present ? Status() : fail(kFileReadError);
}

Status GmdcRead::readListItem(std::uint32_t& out) {
    if (listItemWidth() == 4) {
        return u32(out);
    }
    std::uint16_t item = 0;
    if (!reader_.readU16(item)) {
        return fail(kFileReadError);
    }
    out = item;
    return {};
}

Status GmdcRead::readName(std::string* name) {
    std::uint8_t length = 0;
    if (!reader_.readU8(length)) {
        return fail(kFileReadError);
    }
    length &= 0x7F;
    char characters[128] = {};
    if (reader_.readBytes(characters, length) != length) {
        return fail(kFileReadError);
    }
    if (name) {
        name->assign(characters, length);
    }
    return {};
}

Status GmdcRead::run(ImportedModel& model) {
    for (Status (GmdcRead::*step)() :
         {&GmdcRead::readHeader, &GmdcRead::readElements, &GmdcRead::readLinks,
          &GmdcRead::readGroups, &GmdcRead::readTrailer}) {
        if (Status done = (this->*step)(); !done) {
            return done;
        }
    }
    model.groups.resize(groups_.size());
    for (std::uint32_t g = 0; g < groups_.size(); ++g) {
        if (Status built = buildGroup(g, model.groups[g]); !built) {
            return built;
        }
    }
    return {};
}

Status GmdcRead::readHeader() {
    // A leading 1 marks the long form, whose fields all sit four bytes further on.
    std::uint16_t form = 0;
    ByteReader start = reader_;
    std::size_t size = start.readU16(form) && form == 1 ? 67 : 63;
    if (!reader_.has(size)) {
        reader_.skip(size);
        return fail(kFileReadError);
    }
    ByteReader header = reader_.take(size);
    std::uint32_t typeId = 0;
    header.seek(size - 55);
    header.readU32(typeId);
    if (typeId != kTypeId) {
        return fail("ERR: Unknown file type (not 0xAC4F8687).");
    }
    header.seek(size - 24);
    header.readU32(version_);
    if (version_ != 1 && version_ != 2 && version_ != 4) {
        return fail("ERR: Unknown Version ID (not 1, 2 or 4).");
    }
    return readName(nullptr);
}

Status GmdcRead::readElements() {
    std::uint32_t count = 0;
    if (Status read = u32(count); !read) {
        return read;
    }
    if (count >= kMaxElements) {
        return fail("ERR: Too many P1 sections for this implementation.");
    }
    elements_.resize(count);
    for (std::uint32_t slot = 0; slot < count; ++slot) {
        if (Status read = readElement(slot); !read) {
            return read;
        }
    }
    return {};
}

Status GmdcRead::readElement(std::uint32_t slot) {
    std::uint32_t words[6] = {};
    for (std::uint32_t& word : words) {
        if (Status read = u32(word); !read) {
            return read;
        }
    }
    ElementSlot& element = elements_[slot];
    element.type = words[1];
    element.dataSize = words[5];
    const ElementRule* rule =
        std::find_if(std::begin(kElementRules), std::end(kElementRules),
                     [&](const ElementRule& r) { return r.type == element.type; });
    if (rule == std::end(kElementRules)) {
        return fail(printfText("Unrecognized Chunk ID 0x%08X present in slot %d.", element.type,
                               static_cast<int>(slot)));
    }
    if (element.dataSize != 0) {
        if (element.type == kSkinWeightType && words[3] > 2) {
            return fail("ERR: Too many Skin Weights");
        }
        if (rule->dataWarning) {
            warn(rule->dataWarning);
        }
        if (Status read = readElementData(element, *rule); !read) {
            return read;
        }
    }
    std::uint32_t listCount = 0;
    if (Status read = u32(listCount); !read) {
        return read;
    }
    if (listCount != 0) {
        if (rule->listWarning) {
            warn(rule->listWarning);
        }
        // Kept lists hold skinning and morph data the model does not carry.
        if (Status passed = pass(std::uint64_t{listCount} * listItemWidth()); !passed) {
            return passed;
        }
    }
    if (rule->bounded != BoundedList::None) {
        int& members = rule->bounded == BoundedList::MorphTargets ? morphTargets_ : morphMaps_;
        if (++members > kMaxBoundedListItems) {
            return fail("ERR: Too many target indices in GMDC.");
        }
    }
    return {};
}

// Whole items only; the bytes of a partial last item are left for the next read.
Status GmdcRead::readElementData(ElementSlot& element, const ElementRule& rule) {
    if (rule.data == DataPart::Skip) {
        return pass(element.dataSize);
    }
    std::size_t item = itemSize(rule.data);
    std::size_t itemCount = element.dataSize / item;
    if (!reader_.has(std::uint64_t{itemCount} * item)) {
        reader_.skip(std::uint64_t{itemCount} * item);
        return fail(kFileReadError);
    }
    if (!allocateZeroed(element.data, (std::size_t{element.dataSize} + 3) / 4)) {
        return fail(kAllocationError);
    }
    element.hasData = true;
    if (rule.data != DataPart::Vectors) {
        reader_.readBytes(element.data.data(), itemCount * item);
        return {};
    }
    for (std::size_t i = 0; i < itemCount; ++i) {
        float v[3] = {};
        reader_.readBytes(v, sizeof v);
        element.data[3 * i] = -v[0];
        element.data[3 * i + 1] = v[2];
        element.data[3 * i + 2] = v[1];
    }
    return {};
}

Status GmdcRead::readLinks() {
    std::uint32_t count = 0;
    if (Status read = u32(count); !read) {
        return read;
    }
    if (count > kMaxLinks) {
        return fail("ERR: Too many P2 sections for this implementation.");
    }
    links_.resize(count);
    for (LinkSlot& link : links_) {
        if (Status read = readLink(link); !read) {
            return read;
        }
    }
    return {};
}

Status GmdcRead::readLink(LinkSlot& link) {
    std::uint32_t referenceCount = 0;
    if (Status read = u32(referenceCount); !read) {
        return read;
    }
    if (referenceCount > kMaxReferences) {
        return fail("ERR: Too many P2 Index List Items.");
    }
    if (referenceCount < 1) {
        return fail("ERR: Model lacks vertices.");
    }
    if (referenceCount == 1) {
        return fail("ERR: Model lacks normals.");
    }
    for (std::uint32_t r = 0; r < referenceCount; ++r) {
        std::uint32_t reference = 0;
        if (Status read = readListItem(reference); !read) {
            return read;
        }
        // 16-bit references are signed.
        std::int32_t number = listItemWidth() == 2 ? static_cast<std::int16_t>(reference)
                                                   : static_cast<std::int32_t>(reference);
        if (number < 0 || static_cast<std::size_t>(number) >= elements_.size()) {
            return fail(
                printfText("ERR: P2 Index List Item %d out of range, %d P1 sections present.",
                           number, static_cast<int>(elements_.size())));
        }
        link.references.push_back(static_cast<std::uint32_t>(number));
    }
    std::uint32_t ignored = 0;
    if (Status read = u32(link.vertexCount); !read) {
        return read;
    }
    if (Status read = u32(ignored); !read) {
        return read;
    }
    for (int i = 0; i < 3; ++i) {
        std::uint32_t extension = 0;
        if (Status read = u32(extension); !read) {
            return read;
        }
        if (extension != 0) {
            return fail("ERR: Unimplemented P2 Extension block present.");
        }
    }
    return {};
}

Status GmdcRead::readGroups() {
    std::uint32_t count = 0;
    if (Status read = u32(count); !read) {
        return read;
    }
    if (count > kMaxGroups) {
        return fail("ERR: Too many P3 sections for this implementation.");
    }
    groups_.resize(count);
    for (GroupSlot& group : groups_) {
        if (Status read = readGroup(group); !read) {
            return read;
        }
    }
    return {};
}

Status GmdcRead::readGroup(GroupSlot& group) {
    std::uint32_t ignored = 0;
    std::uint32_t indexCount = 0;
    if (Status read = u32(ignored); !read) {
        return read;
    }
    if (Status read = u32(group.link); !read) {
        return read;
    }
    if (Status read = readName(&group.name); !read) {
        return read;
    }
    if (Status read = u32(indexCount); !read) {
        return read;
    }
    std::size_t references = group.link < links_.size() ? links_[group.link].references.size() : 0;
    if (references < 2) {
        return fail("ERR: Too Few units to build model");
    }
    if (references == 2) {
        warn("WARN: Model lacks UVs.\r\n");
    }
    std::uint64_t indexBytes = std::uint64_t{indexCount} * listItemWidth();
    if (!reader_.has(indexBytes)) {
        reader_.skip(indexBytes);
        return fail(kFileReadError);
    }
    if (!allocateZeroed(group.indices, indexCount)) {
        return fail(kAllocationError);
    }
    for (std::uint16_t& index : group.indices) {
        std::uint32_t item = 0;
        if (Status read = readListItem(item); !read) {
            return read;
        }
        index = static_cast<std::uint16_t>(item);
    }
    if (Status read = u32(ignored); !read) {
        return read;
    }
    if (version_ == 1) {
        return {};
    }
    std::uint32_t boneCount = 0;
    if (Status read = u32(boneCount); !read) {
        return read;
    }
    if (boneCount >= kMaxBones) {
        return fail("ERR: Parse Error; too many bone index items");
    }
    return pass(std::uint64_t{boneCount} * listItemWidth());
}

Status GmdcRead::readTrailer() {
    std::uint32_t jointCount = 0;
    if (Status read = u32(jointCount); !read) {
        return read;
    }
    if (jointCount > kMaxJoints) {
        return fail("ERR: Too many joints defined in file.");
    }
    if (Status passed = pass(std::uint64_t{jointCount} * 28); !passed) {
        return passed;
    }
    std::uint32_t namePairs = 0;
    if (Status read = u32(namePairs); !read) {
        return read;
    }
    for (std::uint64_t name = 0; name < 2 * std::uint64_t{namePairs}; ++name) {
        if (Status read = readName(nullptr); !read) {
            return read;
        }
    }
    if (Status read = readMeshBlock(); !read) {
        return read;
    }
    std::uint32_t boundingSets = 0;
    if (Status read = u32(boundingSets); !read) {
        return read;
    }
    for (std::uint32_t set = 0; set < boundingSets; ++set) {
        if (Status read = readMeshBlock(); !read) {
            return read;
        }
    }
    return {};
}

// The static mesh and each bounding set: a vertex count and, when that is not 0, a face count,
// the vertices and the faces.
Status GmdcRead::readMeshBlock() {
    std::uint32_t vertexCount = 0;
    if (Status read = u32(vertexCount); !read) {
        return read;
    }
    if (vertexCount == 0) {
        return {};
    }
    std::uint32_t faceCount = 0;
    if (Status read = u32(faceCount); !read) {
        return read;
    }
    if (Status passed = pass(std::uint64_t{vertexCount} * 12); !passed) {
        return passed;
    }
    return pass(std::uint64_t{faceCount} * listItemWidth());
}

Status GmdcRead::checkItems(std::uint32_t element, std::size_t itemBytes,
                            std::uint32_t vertexCount) const {
    std::uint32_t items = elements_[element].dataSize / itemBytes;
    if (items < vertexCount) {
        return fail(printfText("ERR: P1 section %d too short, expected %d items, %d found.",
                               static_cast<int>(element), static_cast<int>(vertexCount),
                               static_cast<int>(items)));
    }
    return {};
}

// The link's elements must hold every vertex the link claims.
Status GmdcRead::checkLink(const LinkSlot& link) const {
    const std::vector<std::uint32_t>& references = link.references;
    bool hasUvElement = references.size() > 2;
    if (!elements_[references[0]].hasData) {
        return fail("ERR: NULL vertice array pointer.");
    }
    if (!elements_[references[1]].hasData) {
        return fail("ERR: NULL normals array pointer.");
    }
    if (hasUvElement && !elements_[references[2]].hasData) {
        return fail("ERR: NULL UV array pointer.");
    }
    for (std::size_t r = 0; r < (hasUvElement ? 3u : 2u); ++r) {
        if (Status checked = checkItems(references[r], r == 2 ? 8 : 12, link.vertexCount);
            !checked) {
            return checked;
        }
    }
    return {};
}

Status GmdcRead::buildGroup(std::uint32_t g, ModelGroup& group) const {
    const GroupSlot& slot = groups_[g];
    const LinkSlot& link = links_[slot.link];
    int morphMaps = static_cast<int>(
        std::count_if(link.references.begin(), link.references.end(),
                      [&](std::uint32_t r) { return elements_[r].type == kMorphMapType; }));
    if (morphMaps > 1) {
        return fail("More than one morph map present for model.");
    }
    group.name = slot.name;
    if (link.vertexCount == 0) {
        return fail("ERR: Empty model. No Verts.");
    }
    if (slot.indices.empty()) {
        return fail("ERR: Empty model. No faces.");
    }
    if (Status checked = checkLink(link); !checked) {
        return checked;
    }
    std::size_t wholeFaces = slot.indices.size() - slot.indices.size() % 3;
    for (std::size_t i = 0; i < wholeFaces; ++i) {
        if (slot.indices[i] >= link.vertexCount) {
            return fail(printfText(
                "ERR: Face index range error in group %d, found %04X, max = %04X.",
                static_cast<int>(g), slot.indices[i], static_cast<unsigned>(link.vertexCount)));
        }
    }
    const std::size_t vertexCount = link.vertexCount;
    auto copy = [](const ElementSlot& element, std::size_t count, std::vector<float>& out) {
        out.assign(element.data.begin(), element.data.begin() + count);
    };
    copy(elements_[link.references[0]], 3 * vertexCount, group.positions);
    copy(elements_[link.references[1]], 3 * vertexCount, group.normals);
    if (link.references.size() > 2) {
        copy(elements_[link.references[2]], 2 * vertexCount, group.uvs);
    } else if (!allocateZeroed(group.uvs, 2 * vertexCount)) {
        return fail(kAllocationError);
    }
    group.faces.assign(slot.indices.begin(), slot.indices.begin() + wholeFaces);
    growBoundsOverPositions(group);
    return {};
}

}  // namespace

Result<ImportedModel> readGmdcData(const std::string& fileName,
                                   const std::vector<std::uint8_t>& bytes) {
    ImportedModel model;
    model.fileName = fileName;
    GmdcRead read(bytes);
    Status status = read.run(model);
    Result<ImportedModel> result =
        status ? Result<ImportedModel>(std::move(model)) : fail(status.error());
    for (const std::string& warning : read.warnings()) {
        result.addWarning(warning);
    }
    return result;
}

}  // namespace verada
