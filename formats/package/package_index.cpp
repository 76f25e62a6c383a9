#include "formats/package/package_index.h"

#include <map>
#include <tuple>

#include "formats/io/byte_reader.h"
#include "formats/io/printf_text.h"
#include "formats/io/zeroed_allocation.h"
#include "formats/package/package_item_data.h"
#include "formats/package/package_item_names.h"

namespace verada {
namespace {

constexpr std::uint32_t kMaxEntryCount = 20000;
constexpr std::size_t kHeaderSize = 96;
constexpr char kEmptyArchive[] =
    "ERR: Empty Archive: Zero index items.\r\nNothing available to extract.";

// The header fields the index is found by.
struct Header {
    bool dbbf = false;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t entryCount = 0;
    std::uint32_t indexSize = 0;
    std::uint32_t indexOffset = 0;
    std::uint32_t indexMajorVersion = 0;  // DBPF 1.x
    std::uint32_t indexMinorVersion = 0;  // DBPF 1.x
};

// The index forms of DBPF 2 and 3 and of DBBF: which fields each entry carries (the others
// come from the index header) and how large the index must then be.
struct IndexForm {
    std::uint32_t indexType;
    bool dbbf;
    std::size_t headerSize;  // type word, constant ids, null word
    std::size_t entrySize;
    int constantIds;  // leading ids (A, then B) taken from the header instead of the entry
    bool wideOffsets;
    const char* sizeMismatch;
};

constexpr IndexForm kIndexForms[] = {
    {4, true, 8, 32, 0, true,
     "ERR: Entry count/Index size mismatch [8+32n], %u elements, size = %u"},
    {4, false, 8, 28, 0, false,
     "ERR: Entry count/Index size mismatch [8+28n], %u elements, size = %u"},
    {5, false, 12, 24, 1, false,
     "ERR: Entry count/Index size mismatch [12+24n], %u elements, size = %u"},
    {6, false, 12, 24, 1, false,
     "ERR: Entry count/Index size mismatch [12+24n], %u elements, size = %u"},
    {7, false, 16, 20, 2, false,
     "ERR: Entry count/Index size mismatch [16+20n], %u elements, size = %u"},
};

// DBPF 1.x: the index version sits in the header and fixes the entry size; the compression
// directory lists the compressed items by their ids.
constexpr std::uint32_t kDirectoryType = 0xE86B1EEF;
constexpr std::uint32_t kDirectoryGroup = 0xE86B1EEF;
constexpr std::uint32_t kDirectoryInstance = 0x286B1F03;
constexpr std::uint32_t kSims2IndexVersion = 7;
// A compressed item starts with its stored size, then the QFS stream.
constexpr std::uint32_t kSizeWordBeforeStream = 4;

Status readHeader(ByteReader header, Header& out) {
    char magic[4];
    if (header.readBytes(magic, 4) != 4) {
        return fail(kFileReadError);
    }
    const std::string name(magic, 4);
    if (name != "DBPF" && name != "DBBF") {
        return fail("ERR: Not DBPF or DBBF file type");
    }
    out.dbbf = name == "DBBF";
    if (!header.readU32(out.majorVersion)) {
        return fail(kFileReadError);
    }
    // Spore's own packages carry major version 3 with the layout of 2; The Sims 2 and SimCity
    // 4 write version 1, whose index is another one.
    const bool sims2 = out.majorVersion == 1 && !out.dbbf;
    if (out.majorVersion != 2 && out.majorVersion != 3 && !sims2) {
        return fail(printfText("ERR: Expected Version 2, found 0x%08X.", out.majorVersion));
    }
    header.readU32(out.minorVersion);
    header.seek(32);
    if (!header.readU32(out.indexMajorVersion) || !header.readU32(out.entryCount)) {
        return fail(kFileReadError);
    }
    if (sims2) {
        if (out.indexMajorVersion != kSims2IndexVersion) {
            return fail(
                printfText("ERR: Expected index version 7, found 0x%08X.", out.indexMajorVersion));
        }
        if (out.entryCount == 0) {
            return fail(kEmptyArchive);
        }
        if (!header.readU32(out.indexOffset) || !header.readU32(out.indexSize)) {
            return fail(kFileReadError);
        }
        header.seek(60);
        if (!header.readU32(out.indexMinorVersion)) {
            return fail(kFileReadError);
        }
        return {};
    }
    if (out.entryCount > kMaxEntryCount) {
        return fail(printfText("ERR: Invalid entry count, found 0x%08X.", out.entryCount));
    }
    if (out.entryCount == 0) {
        return fail(kEmptyArchive);
    }
    std::uint32_t high = 0;
    if (!out.dbbf) {
        header.skip(4);
        if (!header.readU32(out.indexSize)) {
            return fail(kFileReadError);
        }
        header.skip(16);
        if (!header.readU32(out.indexOffset)) {
            return fail(kFileReadError);
        }
        return {};
    }
    if (!header.readU32(out.indexSize) || !header.readU32(high)) {
        return fail(kFileReadError);
    }
    if (high != 0) {
        return fail("ERR: Archive too large to split [1] (>4 GB).");
    }
    header.skip(8);
    if (!header.readU32(out.indexOffset) || !header.readU32(high)) {
        return fail(kFileReadError);
    }
    if (high != 0) {
        return fail("ERR: Archive too large to split [2] (>4 GB).");
    }
    return {};
}

Result<const IndexForm*> findIndexForm(const Header& header, std::uint32_t indexType) {
    for (const IndexForm& form : kIndexForms) {
        if (form.indexType != indexType || form.dbbf != header.dbbf) {
            continue;
        }
        if (header.indexSize !=
            form.headerSize + form.entrySize * std::uint64_t{header.entryCount}) {
            return fail(printfText(form.sizeMismatch, header.entryCount, header.indexSize));
        }
        return &form;
    }
    if (header.dbbf && indexType >= 5 && indexType <= 7) {
        return fail(printfText("Type %u index not implemented for DBBF format.", indexType));
    }
    return fail(printfText("ERR: Invalid index type, found 0x%08X.", indexType));
}

PackageItem decodeEntry(ByteReader entry, const IndexForm& form, const std::uint32_t constants[2]) {
    std::uint32_t ids[3];
    for (int i = 0; i < 3; ++i) {
        if (i < form.constantIds) {
            ids[i] = constants[i];
        } else {
            entry.readU32(ids[i]);
        }
    }
    PackageItem item;
    item.typeId = ids[0];
    item.groupId = ids[1];
    item.instanceId = ids[2];
    std::uint32_t offset = 0;
    std::uint32_t offsetHigh = 0;
    entry.readU32(offset);
    if (form.wideOffsets) {
        entry.readU32(offsetHigh);
    }
    item.offset = std::uint64_t{offsetHigh} << 32 | offset;
    entry.readU32(item.storedSize);
    if (!form.wideOffsets) {
        item.storedSize &= 0x7FFFFFFFu;
    }
    std::uint32_t decompressedSize = 0;
    std::uint32_t flags = 0;
    entry.readU32(decompressedSize);
    entry.readU32(flags);
    item.compressed = (flags & 0xFFFFu) != 0;
    item.size = item.compressed ? decompressedSize : item.storedSize;
    return item;
}

// DBPF 2 and 3, DBBF: an index type word, the type's header words, the entries.
Status readTypedIndex(const PackageFile& package, const Header& header,
                      const IndexFoundCallback& found, PackageIndex& index) {
    std::uint8_t typeWord[4];
    std::uint32_t indexType = 0;
    if (!ByteReader(typeWord, package.readAt(header.indexOffset, typeWord, 4)).readU32(indexType)) {
        return fail(kFileReadError);
    }
    if (found) {
        found(header.entryCount);
    }
    Result<const IndexForm*> matched = findIndexForm(header, indexType);
    if (!matched) {
        return matched.failure();
    }
    const IndexForm& form = *matched.value();

    // The index size was checked against the count, so this is at most 16 + 20000 × 32 bytes.
    std::vector<std::uint8_t> bytes(header.indexSize - 4);
    ByteReader words(bytes.data(),
                     package.readAt(header.indexOffset + 4ull, bytes.data(), bytes.size()));
    std::uint32_t constants[2] = {0, 0};
    for (int i = 0; i < form.constantIds; ++i) {
        if (!words.readU32(constants[i])) {
            return fail(kFileReadError);
        }
    }
    std::uint32_t nullWord = 0;
    if (!words.readU32(nullWord)) {
        return fail(kFileReadError);
    }
    if (nullWord != 0) {
        return fail(printfText("ERR: Invalid index null, found 0x%08X.", nullWord));
    }
    index.items.reserve(header.entryCount);
    for (std::uint32_t i = 0; i < header.entryCount; ++i) {
        if (!words.has(form.entrySize)) {
            index.cutShort = kFileReadError;
            break;
        }
        index.items.push_back(decodeEntry(words.take(form.entrySize), form, constants));
    }
    return {};
}

std::string idsText(std::uint32_t typeId, std::uint32_t groupId, std::uint32_t instanceId,
                    std::optional<std::uint32_t> resourceId) {
    std::string text = printfText("%08X-%08X-%08X", typeId, groupId, instanceId);
    if (resourceId) {
        text += printfText("-%08X", *resourceId);
    }
    return text;
}

// Marks the items the compression directory lists as compressed, with their sizes.
Status applyCompressionDirectory(const PackageFile& package, const PackageItem& directory,
                                 bool resourceIds, std::vector<PackageItem>& items) {
    using Key = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>;
    const std::size_t entrySize = resourceIds ? 20 : 16;
    if (directory.storedSize % entrySize != 0) {
        return fail(printfText(
            "ERR: Compression directory of %u bytes is not a whole number of %zu-byte entries.",
            directory.storedSize, entrySize));
    }
    Result<std::vector<std::uint8_t>> bytes = readStoredBytes(package, directory);
    if (!bytes) {
        return bytes.failure();
    }
    std::multimap<Key, PackageItem*> byIds;
    for (PackageItem& item : items) {
        byIds.emplace(Key{item.typeId, item.groupId, item.instanceId, item.resourceId.value_or(0)},
                      &item);
    }
    ByteReader entries(bytes.value());
    while (entries.has(entrySize)) {
        std::uint32_t ids[3];
        std::uint32_t resourceId = 0;
        std::uint32_t size = 0;
        for (std::uint32_t& id : ids) {
            entries.readU32(id);
        }
        if (resourceIds) {
            entries.readU32(resourceId);
        }
        entries.readU32(size);
        auto [first, last] = byIds.equal_range(Key{ids[0], ids[1], ids[2], resourceId});
        if (first == last) {
            return fail(printfText(
                "ERR: Compression directory lists item %s, which the index does not hold.",
                idsText(ids[0], ids[1], ids[2],
                        resourceIds ? std::optional<std::uint32_t>(resourceId) : std::nullopt)
                    .c_str()));
        }
        for (; first != last; ++first) {
            first->second->compressed = true;
            first->second->size = size;
            first->second->streamStart = kSizeWordBeforeStream;
        }
    }
    return {};
}

// DBPF 1.x: the entries only, at the offset and of the size the header gives; then the
// compression directory.
Status readSims2Index(const PackageFile& package, const Header& header,
                      const IndexFoundCallback& found, PackageIndex& index) {
    std::size_t entrySize = 0;
    switch (header.indexMinorVersion) {
        case 0:
        case 1:
            entrySize = 20;
            break;
        case 2:
            entrySize = 24;
            break;
        default:
            return fail(printfText("ERR: Expected index minor version 0, 1 or 2, found 0x%08X.",
                                   header.indexMinorVersion));
    }
    if (header.indexSize != entrySize * std::uint64_t{header.entryCount}) {
        return fail(
            printfText("ERR: Entry count/Index size mismatch [%zun], %u elements, size = %u",
                       entrySize, header.entryCount, header.indexSize));
    }
    if (std::uint64_t{header.indexOffset} + header.indexSize > package.size()) {
        return fail(printfText(
            "ERR: Index of %u bytes at offset %08X runs past the end of the file (%llu bytes).",
            header.indexSize, header.indexOffset, static_cast<unsigned long long>(package.size())));
    }
    if (found) {
        found(header.entryCount);
    }
    std::vector<std::uint8_t> bytes;
    if (!allocateZeroed(bytes, header.indexSize)) {
        return fail("ERR: Critical memory allocation error; index.");
    }
    ByteReader entries(bytes.data(),
                       package.readAt(header.indexOffset, bytes.data(), bytes.size()));
    if (entries.size() != bytes.size()) {
        return fail(kFileReadError);
    }
    const bool resourceIds = entrySize == 24;
    index.items.resize(header.entryCount);
    for (PackageItem& item : index.items) {
        entries.readU32(item.typeId);
        entries.readU32(item.groupId);
        entries.readU32(item.instanceId);
        if (resourceIds) {
            std::uint32_t resourceId = 0;
            entries.readU32(resourceId);
            item.resourceId = resourceId;
        }
        std::uint32_t offset = 0;
        entries.readU32(offset);
        item.offset = offset;
        entries.readU32(item.storedSize);
        item.size = item.storedSize;
    }
    // The directory is read as stored, before any item is marked.
    std::vector<PackageItem> directoryItems;
    for (const PackageItem& item : index.items) {
        if (item.typeId == kDirectoryType && item.groupId == kDirectoryGroup &&
            item.instanceId == kDirectoryInstance) {
            directoryItems.push_back(item);
        }
    }
    for (const PackageItem& directory : directoryItems) {
        if (Status applied =
                applyCompressionDirectory(package, directory, resourceIds, index.items);
            !applied) {
            return applied;
        }
    }
    return {};
}

}  // namespace

Result<PackageIndex> readPackageIndex(const PackageFile& package, const IndexFoundCallback& found) {
    std::uint8_t headerBytes[kHeaderSize];
    Header header;
    if (Status read = readHeader(
            ByteReader(headerBytes, package.readAt(0, headerBytes, sizeof headerBytes)), header);
        !read) {
        return read.failure();
    }
    PackageIndex index;
    index.magic = header.dbbf ? "DBBF" : "DBPF";
    index.majorVersion = header.majorVersion;
    index.minorVersion = header.minorVersion;
    index.entryCount = header.entryCount;
    Status read = header.majorVersion == 1 ? readSims2Index(package, header, found, index)
                                           : readTypedIndex(package, header, found, index);
    if (!read) {
        return read.failure();
    }
    return index;
}

Result<PackageIndex> readPackageIndex(const std::string& path) {
    Result<PackageFile> package = PackageFile::open(path);
    if (!package) {
        return package.failure();
    }
    Result<PackageIndex> index = readPackageIndex(package.value());
    if (index && index->cutShort) {
        return fail(*index->cutShort);
    }
    return index;
}

std::string itemFileName(const PackageItem& item) {
    return itemFileName(item.typeId, item.groupId, item.instanceId, item.resourceId);
}

}  // namespace verada
