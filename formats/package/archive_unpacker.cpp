#include "formats/package/archive_unpacker.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "formats/io/atomic_file.h"
#include "formats/io/byte_reader.h"
#include "formats/io/file.h"
#include "formats/io/printf_text.h"
#include "formats/io/zeroed_allocation.h"
#include "formats/package/qfs_decompressor.h"

namespace verada {
namespace {

static_assert(sizeof(long) >= 8, "package offsets beyond 2 GiB need a 64-bit fseek");

constexpr std::uint32_t kMaxEntryCount = 20000;
constexpr const char* kBanner = "Vazuvu V0.21 - by Dudoda";

struct TypeIdRow {
    std::uint32_t typeId;
    TypeIdName name;
};

constexpr TypeIdRow kTypeIdNames[] = {
    {0x00B1B104, {"PROP", "prop"}}, {0x00E6BCE5, {"GMDL", "gmdl"}}, {0x011989B7, {"_PLT", "plt"}},
    {0x01AD2616, {"CRTR", "crtr"}}, {0x01AD2617, {"BLTR", "bltr"}}, {0x01AD2618, {"VHTR", "vhtr"}},
    {0x01C135DA, {"GMSH", "gmsh"}}, {0x01C3C4B3, {"_TRP", "trp"}},  {0x022D2C83, {"EAPD", "bnry"}},
    {0x02393756, {"CRSR", "cur"}},  {0x0248F226, {"_CSS", "txt"}},  {0x024A0E52, {"_CHT", "txt"}},
    {0x027C5CEF, {"_TTF", "ttf"}},  {0x029E333B, {"TXT6", "txt"}},  {0x02D5C9AF, {"SUMM", "sum"}},
    {0x02D5C9B0, {"SUMP", "sump"}}, {0x02FAC0B6, {"_TXT", "txt"}},  {0x03055F61, {"TXT7", "txt"}},
    {0x030BDEE3, {"PMET", "pmet"}}, {0x0376C3DA, {"__HM", "hm"}},   {0x0472329B, {"HTRA", "htra"}},
    {0x12952634, {"TXT2", "txt"}},  {0x1A99B06B, {"_BEM", "bem"}},  {0x1E99B626, {"_BAT", "bat"}},
    {0x2399BE55, {"_BLD", "bld"}},  {0x24682294, {"_VCL", "vcl"}},  {0x25DF0112, {"SCPT", "txt"}},
    {0x2B6CAB5F, {"NOTE", "txt"}},  {0x2B978C46, {"_CRT", "xml"}},  {0x2F4E681B, {"_RW4", "bnry"}},
    {0x2F4E681C, {"RAST", "rast"}}, {0x2F7D0002, {"JPEG", "jpeg"}}, {0x2F7D0004, {"_PNG", "png"}},
    {0x2F7D0005, {"_BMP", "bmp"}},  {0x2F7D0006, {"_TGA", "tga"}},  {0x2F7D0007, {"_GIF", "gif"}},
    {0x37979F71, {"TXT8", "txt"}},  {0x3C77532E, {"ADBE", "psd"}},  {0x3C7E0F63, {"MUSC", "txt"}},
    {0x3F9C28B5, {"CRSR", "cur"}},  {0x438F6347, {"_FLR", "flr"}},  {0x476A98C7, {"_UFO", "ufo"}},
    {0x497767B9, {"TXT5", "txt"}},  {0x4AEB6BC6, {"ALST", "txt"}},  {0x617715C4, {"PYTH", "py"}},
    {0x617715D9, {"TXT4", "txt"}},  {0x7C19AA7A, {"PCAP", "txt"}},  {0xCF6C21B8, {"_XML", "xml"}},
    {0xEE17C6AD, {"ANIM", "anim"}}, {0xEFBDA3FF, {"LAYO", "bnry"}},
};

struct IndexEntry {
    std::uint32_t typeId = 0;
    std::uint32_t groupId = 0;
    std::uint32_t instanceId = 0;
    std::uint64_t position = 0;
    std::uint32_t storedSize = 0;
    std::uint32_t decompressedSize = 0;
    std::uint32_t flags = 0;
};

// The index forms a package can hold: which fields each entry carries (the others come from
// the index header) and how large the index must then be.
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

class ArchiveUnpacker {
  public:
    Status openArchiveInput(const std::string& name);
    Status readArchiveHeader();
    Status readArchiveIndex(const ProgressCallback& progress, const StatusCallback& status);

    std::uint32_t entryCount() const { return entryCount_; }

  private:
    bool readWord(std::uint32_t& value);
    bool skip(long bytes) { return std::fseek(package_.get(), bytes, SEEK_CUR) == 0; }
    Result<const IndexForm*> findIndexForm(std::uint32_t indexType) const;
    IndexEntry decodeEntry(ByteReader entry, const IndexForm& form,
                           const std::uint32_t constants[2]) const;
    Status extractItem(const IndexEntry& entry);
    Result<std::vector<std::uint8_t>> readStoredItem(const IndexEntry& entry);
    Status writeItem(const IndexEntry& entry, const std::uint8_t* bytes, std::size_t size);

    File package_;
    std::uint64_t packageSize_ = 0;
    std::filesystem::path outputFolder_;
    bool isDbbf_ = false;
    std::uint32_t entryCount_ = 0;
    std::uint32_t indexSize_ = 0;
    std::uint64_t indexOffset_ = 0;
};

bool ArchiveUnpacker::readWord(std::uint32_t& value) {
    std::uint8_t bytes[4];
    ByteReader word(bytes, std::fread(bytes, 1, 4, package_.get()));
    return word.readU32(value);
}

Status ArchiveUnpacker::openArchiveInput(const std::string& name) {
    package_ = File::open(name, "rb");
    if (!package_) {
        return fail(printfText("Failed to open input file %s\r\n", name.c_str()));
    }
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(name, error);
    packageSize_ = error ? 0 : size;

    // Items go into a folder named after the package, beside it; an existing one is reused.
    outputFolder_ = std::filesystem::path(name).replace_extension();
    std::filesystem::create_directory(outputFolder_, error);
    return {};
}

Status ArchiveUnpacker::readArchiveHeader() {
    char magic[4];
    if (std::fread(magic, 1, 4, package_.get()) != 4) {
        return fail(kFileReadError);
    }
    if (std::memcmp(magic, "DBBF", 4) == 0) {
        isDbbf_ = true;
    } else if (std::memcmp(magic, "DBPF", 4) != 0) {
        return fail("ERR: Not DBPF or DBBF file type");
    }

    std::uint32_t version = 0;
    if (!readWord(version)) {
        return fail(kFileReadError);
    }
    // Spore's own packages carry major version 3 with the same header and index layout.
    if (version != 2 && version != 3) {
        return fail(printfText("ERR: Expected Version 2, found 0x%08X.", version));
    }

    if (!skip(28) || !readWord(entryCount_)) {
        return fail(kFileReadError);
    }
    if (entryCount_ > kMaxEntryCount) {
        return fail(printfText("ERR: Invalid entry count, found 0x%08X.", entryCount_));
    }
    if (entryCount_ == 0) {
        return fail("ERR: Empty Archive: Zero index items.\r\nNothing available to extract.");
    }

    if (!isDbbf_) {
        std::uint32_t offset = 0;
        if (!skip(4) || !readWord(indexSize_) || !skip(16) || !readWord(offset)) {
            return fail(kFileReadError);
        }
        indexOffset_ = offset;
        return {};
    }

    std::uint32_t high = 0;
    if (!readWord(indexSize_) || !readWord(high)) {
        return fail(kFileReadError);
    }
    if (high != 0) {
        return fail("ERR: Archive too large to split [1] (>4 GB).");
    }
    std::uint32_t offset = 0;
    if (!skip(8) || !readWord(offset) || !readWord(high)) {
        return fail(kFileReadError);
    }
    if (high != 0) {
        return fail("ERR: Archive too large to split [2] (>4 GB).");
    }
    indexOffset_ = offset;
    return {};
}

Result<const IndexForm*> ArchiveUnpacker::findIndexForm(std::uint32_t indexType) const {
    for (const IndexForm& form : kIndexForms) {
        if (form.indexType != indexType || form.dbbf != isDbbf_) {
            continue;
        }
        if (indexSize_ != form.headerSize + form.entrySize * std::uint64_t{entryCount_}) {
            return fail(printfText(form.sizeMismatch, entryCount_, indexSize_));
        }
        return &form;
    }
    if (isDbbf_ && indexType >= 5 && indexType <= 7) {
        return fail(printfText("Type %u index not implemented for DBBF format.", indexType));
    }
    return fail(printfText("ERR: Invalid index type, found 0x%08X.", indexType));
}

IndexEntry ArchiveUnpacker::decodeEntry(ByteReader entry, const IndexForm& form,
                                        const std::uint32_t constants[2]) const {
    std::uint32_t ids[3];
    for (int i = 0; i < 3; ++i) {
        if (i < form.constantIds) {
            ids[i] = constants[i];
        } else {
            entry.readU32(ids[i]);
        }
    }
    IndexEntry decoded;
    decoded.typeId = ids[0];
    decoded.groupId = ids[1];
    decoded.instanceId = ids[2];
    std::uint32_t offset = 0;
    std::uint32_t offsetHigh = 0;
    entry.readU32(offset);
    if (form.wideOffsets) {
        entry.readU32(offsetHigh);
    }
    decoded.position = std::uint64_t{offsetHigh} << 32 | offset;
    entry.readU32(decoded.storedSize);
    if (!form.wideOffsets) {
        decoded.storedSize &= 0x7FFFFFFFu;
    }
    entry.readU32(decoded.decompressedSize);
    entry.readU32(decoded.flags);
    return decoded;
}

Status ArchiveUnpacker::readArchiveIndex(const ProgressCallback& progress,
                                         const StatusCallback& status) {
    std::uint32_t indexType = 0;
    if (std::fseek(package_.get(), static_cast<long>(indexOffset_), SEEK_SET) != 0 ||
        !readWord(indexType)) {
        return fail(kFileReadError);
    }
    if (status) {
        status(printfText("%s\r\nEntry count = %u\r\nworking...", kBanner, entryCount_));
    }
    Result<const IndexForm*> found = findIndexForm(indexType);
    if (!found) {
        return found.failure();
    }
    const IndexForm& form = *found.value();

    std::uint32_t constants[2] = {0, 0};
    for (int i = 0; i < form.constantIds; ++i) {
        if (!readWord(constants[i])) {
            return fail(kFileReadError);
        }
    }
    std::uint32_t nullWord = 0;
    if (!readWord(nullWord)) {
        return fail(kFileReadError);
    }
    if (nullWord != 0) {
        return fail(printfText("ERR: Invalid index null, found 0x%08X.", nullWord));
    }

    // The whole index (at most 20000 entries of 32 bytes) is read at once; an entry cut short
    // still fails only when its turn comes, after the items before it were written.
    std::vector<std::uint8_t> entries(std::size_t{entryCount_} * form.entrySize);
    ByteReader index(entries.data(), std::fread(entries.data(), 1, entries.size(), package_.get()));
    for (std::uint32_t i = 0; i < entryCount_; ++i) {
        if (!index.has(form.entrySize)) {
            return fail(kFileReadError);
        }
        IndexEntry entry = decodeEntry(index.take(form.entrySize), form, constants);
        if (Status extracted = extractItem(entry); !extracted) {
            return extracted;
        }
        if (progress) {
            progress(i + 1, entryCount_);
        }
    }
    return {};
}

// The item's stored bytes; never more memory than the package can still deliver.
Result<std::vector<std::uint8_t>> ArchiveUnpacker::readStoredItem(const IndexEntry& entry) {
    const std::uint64_t left = entry.position < packageSize_ ? packageSize_ - entry.position : 0;
    std::size_t toRead = entry.storedSize <= left ? entry.storedSize : left;
    std::vector<std::uint8_t> stored;
    if (!allocateZeroed(stored, toRead)) {
        return fail("ERR: Critical memory allocation error; cbuff.");
    }
    std::size_t got = 0;
    if (toRead > 0 &&
        std::fseek(package_.get(), static_cast<long>(entry.position), SEEK_SET) == 0) {
        got = std::fread(stored.data(), 1, toRead, package_.get());
    }
    if (got != entry.storedSize) {
        return fail(printfText("ERR: ChopItem read error at %08llX, read %zu of %u bytes",
                               static_cast<unsigned long long>(entry.position), got,
                               entry.storedSize));
    }
    return stored;
}

// Compressed items start with a QFS header that must match the index.
Status checkQfsHeader(const IndexEntry& entry, const std::vector<std::uint8_t>& stored) {
    // Bytes a stream shorter than its header lacks read as 0.
    std::uint8_t header[5] = {};
    ByteReader(stored).readBytes(header, sizeof header);
    const std::uint32_t signature = header[0] | header[1] << 8;
    if (signature != 0xFB10 && signature != 0xFB50) {
        return fail(printfText(
            "ERR: ChopItem uncompression type mismatch, expected 0xFB10, found %04X", signature));
    }
    const std::uint32_t streamSize = std::uint32_t{header[2]} << 16 | header[3] << 8 | header[4];
    if (streamSize != entry.decompressedSize) {
        return fail(
            printfText("ERR: ChopItem uncompression size mismatch, expected %08X, found %08X",
                       entry.decompressedSize, streamSize));
    }
    return {};
}

Status ArchiveUnpacker::writeItem(const IndexEntry& entry, const std::uint8_t* bytes,
                                  std::size_t size) {
    const std::string name = itemFileName(entry.typeId, entry.groupId, entry.instanceId);
    const std::string path = (outputFolder_ / name).string();
    // Thousands of items per run: each is replaced whole, but not synced one by one.
    AtomicFile item(path, Durability::Bulk);
    if (!item.isOpen()) {
        return failWriting(path, printfText("ERR: Unable to open %s for writing.", name.c_str()));
    }
    std::size_t written = item.write(bytes, size);
    if (written != size) {
        return failWriting(
            path, printfText("ERR: ChopItem write error at %08llX, write %zu of %zu bytes",
                             static_cast<unsigned long long>(entry.position), written, size));
    }
    if (!item.commit()) {
        return failWriting(path, printfText("ERR: Unable to open %s for writing.", name.c_str()));
    }
    return {};
}

Status ArchiveUnpacker::extractItem(const IndexEntry& entry) {
    if (entry.storedSize == 0) {
        return {};
    }
    Result<std::vector<std::uint8_t>> stored = readStoredItem(entry);
    if (!stored) {
        return stored.failure();
    }
    const bool compressed = (entry.flags & 0xFFFFu) != 0;
    if (!compressed) {
        return writeItem(entry, stored->data(), stored->size());
    }
    if (Status checked = checkQfsHeader(entry, stored.value()); !checked) {
        return checked;
    }
    // Only a compressed item needs room for its (at most 16 MiB) expansion.
    std::vector<std::uint8_t> expanded;
    if (!allocateZeroed(expanded, std::size_t{entry.decompressedSize} + 1)) {
        return fail("ERR: Critical memory allocation error; dbuff.");
    }
    if (std::optional<std::string> error = decompressQfs(stored->data(), stored->size(),
                                                         expanded.data(), entry.decompressedSize)) {
        return fail(*error);
    }
    return writeItem(entry, expanded.data(), entry.decompressedSize);
}

}  // namespace

TypeIdName typeIdToName(std::uint32_t typeId) {
    for (const TypeIdRow& row : kTypeIdNames) {
        if (row.typeId == typeId) {
            return row.name;
        }
    }
    return {"UNKN", "bnry"};
}

std::string itemFileName(std::uint32_t typeId, std::uint32_t groupId, std::uint32_t instanceId) {
    TypeIdName type = typeIdToName(typeId);
    return printfText("KL-%s-%08X-%08X-%08X.%s", type.name, typeId, groupId, instanceId,
                      type.extension);
}

Result<std::string> unpackArchive(const std::string& packageName, const ProgressCallback& progress,
                                  const StatusCallback& status) {
    ArchiveUnpacker unpacker;
    Status done = unpacker.openArchiveInput(packageName);
    if (done) {
        done = unpacker.readArchiveHeader();
    }
    if (done) {
        done = unpacker.readArchiveIndex(progress, status);
    }
    if (!done) {
        return done.failure();
    }
    return printfText("%s unpacked\r\nNo errors.\r\n%u index items found", packageName.c_str(),
                      unpacker.entryCount());
}

}  // namespace verada
