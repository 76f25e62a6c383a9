#include "formats/package/archive_unpacker.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <system_error>
#include <vector>

#include "formats/io/printf_text.h"
#include "formats/package/qfs_decompressor.h"

namespace verada {
namespace {

static_assert(sizeof(long) >= 8, "package offsets beyond 2 GiB need a 64-bit fseek");

constexpr std::uint32_t kMaxEntryCount = 20000;
constexpr const char* kBanner = "Vazuvu V0.21 - by Dudoda";
constexpr const char* kReadError = "ERR: File read error.";

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

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::uint32_t readLe32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

struct IndexEntry {
    std::uint32_t typeId = 0;
    std::uint32_t groupId = 0;
    std::uint32_t instanceId = 0;
    std::uint32_t offset = 0;
    std::uint32_t offsetHigh = 0;
    std::uint32_t storedSize = 0;
    std::uint32_t decompressedSize = 0;
    std::uint32_t flags = 0;
};

// Which fields an index entry carries; the others come from the index header.
struct IndexForm {
    std::size_t entrySize;
    int constantIds;  // leading ids (A, then B) taken from the header instead of the entry
    bool wideOffsets;
};

class ArchiveUnpacker {
  public:
    std::optional<std::string> openArchiveInput(const std::string& name);
    std::optional<std::string> readArchiveHeader();
    std::optional<std::string> readArchiveIndex(const ProgressCallback& progress,
                                                const StatusCallback& status);
    std::optional<std::string> extractItem(const IndexEntry& entry);

    std::uint32_t entryCount() const { return entryCount_; }

  private:
    bool readWord(std::uint32_t& value);
    bool skip(long bytes) { return std::fseek(package_.get(), bytes, SEEK_CUR) == 0; }
    IndexEntry decodeEntry(const std::uint8_t* bytes, const IndexForm& form,
                           const std::uint32_t constants[2]) const;

    FilePtr package_;
    std::uint64_t packageSize_ = 0;
    std::filesystem::path outputFolder_;
    bool isDbbf_ = false;
    std::uint32_t entryCount_ = 0;
    std::uint32_t indexSize_ = 0;
    std::uint64_t indexOffset_ = 0;
};

bool ArchiveUnpacker::readWord(std::uint32_t& value) {
    std::uint8_t bytes[4];
    if (std::fread(bytes, 1, 4, package_.get()) != 4) {
        return false;
    }
    value = readLe32(bytes);
    return true;
}

std::optional<std::string> ArchiveUnpacker::openArchiveInput(const std::string& name) {
    package_.reset(std::fopen(name.c_str(), "rb"));
    if (!package_) {
        return printfText("Failed to open input file %s\r\n", name.c_str());
    }
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(name, error);
    packageSize_ = error ? 0 : size;

    // Items go into a folder named after the package, beside it; an existing one is reused.
    outputFolder_ = std::filesystem::path(name).replace_extension();
    std::filesystem::create_directory(outputFolder_, error);
    return std::nullopt;
}

std::optional<std::string> ArchiveUnpacker::readArchiveHeader() {
    char magic[4];
    if (std::fread(magic, 1, 4, package_.get()) != 4) {
        return std::string(kReadError);
    }
    if (std::memcmp(magic, "DBBF", 4) == 0) {
        isDbbf_ = true;
    } else if (std::memcmp(magic, "DBPF", 4) != 0) {
        return std::string("ERR: Not DBPF or DBBF file type");
    }

    std::uint32_t version = 0;
    if (!readWord(version)) {
        return std::string(kReadError);
    }
    // Spore's own packages carry major version 3 with the same header and index layout.
    if (version != 2 && version != 3) {
        return printfText("ERR: Expected Version 2, found 0x%08X.", version);
    }

    if (!skip(28) || !readWord(entryCount_)) {
        return std::string(kReadError);
    }
    if (entryCount_ > kMaxEntryCount) {
        return printfText("ERR: Invalid entry count, found 0x%08X.", entryCount_);
    }
    if (entryCount_ == 0) {
        return std::string(
            "ERR: Empty Archive: Zero index items.\r\nNothing available to extract.");
    }

    if (!isDbbf_) {
        std::uint32_t offset = 0;
        if (!skip(4) || !readWord(indexSize_) || !skip(16) || !readWord(offset)) {
            return std::string(kReadError);
        }
        indexOffset_ = offset;
        return std::nullopt;
    }

    std::uint32_t high = 0;
    if (!readWord(indexSize_) || !readWord(high)) {
        return std::string(kReadError);
    }
    if (high != 0) {
        return std::string("ERR: Archive too large to split [1] (>4 GB).");
    }
    std::uint32_t offset = 0;
    if (!skip(8) || !readWord(offset) || !readWord(high)) {
        return std::string(kReadError);
    }
    if (high != 0) {
        return std::string("ERR: Archive too large to split [2] (>4 GB).");
    }
    indexOffset_ = offset;
    return std::nullopt;
}

IndexEntry ArchiveUnpacker::decodeEntry(const std::uint8_t* bytes, const IndexForm& form,
                                        const std::uint32_t constants[2]) const {
    std::uint32_t ids[3];
    int field = 0;
    for (int i = 0; i < 3; ++i) {
        ids[i] = i < form.constantIds ? constants[i] : readLe32(bytes + 4 * field++);
    }
    IndexEntry entry;
    entry.typeId = ids[0];
    entry.groupId = ids[1];
    entry.instanceId = ids[2];
    entry.offset = readLe32(bytes + 4 * field++);
    if (form.wideOffsets) {
        entry.offsetHigh = readLe32(bytes + 4 * field++);
    }
    entry.storedSize = readLe32(bytes + 4 * field++);
    if (!form.wideOffsets) {
        entry.storedSize &= 0x7FFFFFFFu;
    }
    entry.decompressedSize = readLe32(bytes + 4 * field++);
    entry.flags = readLe32(bytes + 4 * field);
    return entry;
}

std::optional<std::string> ArchiveUnpacker::readArchiveIndex(const ProgressCallback& progress,
                                                             const StatusCallback& status) {
    std::uint32_t indexType = 0;
    if (std::fseek(package_.get(), static_cast<long>(indexOffset_), SEEK_SET) != 0 ||
        !readWord(indexType)) {
        return std::string(kReadError);
    }
    if (status) {
        status(printfText("%s\r\nEntry count = %u\r\nworking...", kBanner, entryCount_));
    }

    IndexForm form{};
    int headerConstants = 0;
    const std::uint64_t count = entryCount_;
    switch (indexType) {
        case 4:
            if (isDbbf_) {
                form = {32, 0, true};
                if (indexSize_ != 8 + 32 * count) {
                    return printfText(
                        "ERR: Entry count/Index size mismatch [8+32n], %u elements, size = %u",
                        entryCount_, indexSize_);
                }
            } else {
                form = {28, 0, false};
                if (indexSize_ != 8 + 28 * count) {
                    return printfText(
                        "ERR: Entry count/Index size mismatch [8+28n], %u elements, size = %u",
                        entryCount_, indexSize_);
                }
            }
            break;
        case 5:
        case 6:
        case 7:
            if (isDbbf_) {
                return printfText("Type %u index not implemented for DBBF format.", indexType);
            }
            if (indexType == 7) {
                form = {20, 2, false};
                headerConstants = 2;
                if (indexSize_ != 16 + 20 * count) {
                    return printfText(
                        "ERR: Entry count/Index size mismatch [16+20n], %u elements, size = %u",
                        entryCount_, indexSize_);
                }
            } else {
                form = {24, 1, false};
                headerConstants = 1;
                if (indexSize_ != 12 + 24 * count) {
                    return printfText(
                        "ERR: Entry count/Index size mismatch [12+24n], %u elements, size = %u",
                        entryCount_, indexSize_);
                }
            }
            break;
        default:
            return printfText("ERR: Invalid index type, found 0x%08X.", indexType);
    }

    std::uint32_t constants[2] = {0, 0};
    for (int i = 0; i < headerConstants; ++i) {
        if (!readWord(constants[i])) {
            return std::string(kReadError);
        }
    }
    std::uint32_t nullWord = 0;
    if (!readWord(nullWord)) {
        return std::string(kReadError);
    }
    if (nullWord != 0) {
        return printfText("ERR: Invalid index null, found 0x%08X.", nullWord);
    }

    // The whole index (at most 20000 entries of 32 bytes) is read at once; an entry cut short
    // still fails only when its turn comes, after the items before it were written.
    std::vector<std::uint8_t> entries(count * form.entrySize);
    std::size_t available = std::fread(entries.data(), 1, entries.size(), package_.get());
    for (std::uint32_t i = 0; i < entryCount_; ++i) {
        if ((i + 1) * form.entrySize > available) {
            return std::string(kReadError);
        }
        IndexEntry entry = decodeEntry(entries.data() + i * form.entrySize, form, constants);
        if (std::optional<std::string> error = extractItem(entry)) {
            return error;
        }
        if (progress) {
            progress(i + 1, entryCount_);
        }
    }
    return std::nullopt;
}

std::optional<std::string> ArchiveUnpacker::extractItem(const IndexEntry& entry) {
    if (entry.storedSize == 0) {
        return std::nullopt;
    }
    const std::uint64_t position =
        isDbbf_ ? (static_cast<std::uint64_t>(entry.offsetHigh) << 32) | entry.offset
                : entry.offset;
    const unsigned long long shownOffset = position;

    // Never allocate more than the package can still deliver.
    const std::uint64_t left = position < packageSize_ ? packageSize_ - position : 0;
    std::size_t toRead = entry.storedSize <= left ? entry.storedSize : left;
    std::unique_ptr<std::uint8_t[]> stored(new (std::nothrow) std::uint8_t[toRead ? toRead : 1]());
    if (!stored) {
        return std::string("ERR: Critical memory allocation error; cbuff.");
    }
    std::size_t got = 0;
    if (toRead > 0 && std::fseek(package_.get(), static_cast<long>(position), SEEK_SET) == 0) {
        got = std::fread(stored.get(), 1, toRead, package_.get());
    }
    if (got != entry.storedSize) {
        return printfText("ERR: ChopItem read error at %08llX, read %zu of %u bytes", shownOffset,
                          got, entry.storedSize);
    }

    const bool compressed = (entry.flags & 0xFFFFu) != 0;
    if (compressed) {
        // Bytes a stream shorter than its header lacks read as 0, like the zero-filled buffer.
        auto byteAt = [&](std::size_t i) -> std::uint32_t {
            return i < entry.storedSize ? stored[i] : 0;
        };
        const std::uint32_t signature = byteAt(0) | byteAt(1) << 8;
        if (signature != 0xFB10 && signature != 0xFB50) {
            return printfText(
                "ERR: ChopItem uncompression type mismatch, expected 0xFB10, found %04X",
                signature);
        }
        const std::uint32_t streamSize = byteAt(2) << 16 | byteAt(3) << 8 | byteAt(4);
        if (streamSize != entry.decompressedSize) {
            return printfText(
                "ERR: ChopItem uncompression size mismatch, expected %08X, found %08X",
                entry.decompressedSize, streamSize);
        }
    }

    const std::string name = itemFileName(entry.typeId, entry.groupId, entry.instanceId);

    // Uncompressed items are written straight from what was read; only a compressed one needs
    // room for its (at most 16 MiB) expansion.
    std::unique_ptr<std::uint8_t[]> expanded;
    if (compressed) {
        expanded.reset(new (std::nothrow) std::uint8_t[entry.decompressedSize + 1]());
        if (!expanded) {
            return std::string("ERR: Critical memory allocation error; dbuff.");
        }
    }

    FilePtr item(std::fopen((outputFolder_ / name).c_str(), "wb"));
    if (!item) {
        return printfText("ERR: Unable to open %s for writing.", name.c_str());
    }
    const std::uint8_t* bytes = stored.get();
    std::size_t size = entry.storedSize;
    if (compressed) {
        if (std::optional<std::string> error = decompressQfs(
                stored.get(), entry.storedSize, expanded.get(), entry.decompressedSize)) {
            return error;
        }
        bytes = expanded.get();
        size = entry.decompressedSize;
    }
    std::size_t written = std::fwrite(bytes, 1, size, item.get());
    if (written == size && std::fflush(item.get()) != 0) {
        written = 0;
    }
    if (written != size) {
        return printfText("ERR: ChopItem write error at %08llX, write %zu of %zu bytes",
                          shownOffset, written, size);
    }
    return std::nullopt;
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

UnpackResult unpackArchive(const std::string& packageName, const ProgressCallback& progress,
                           const StatusCallback& status) {
    ArchiveUnpacker unpacker;
    std::optional<std::string> error = unpacker.openArchiveInput(packageName);
    if (!error) {
        error = unpacker.readArchiveHeader();
    }
    if (!error) {
        error = unpacker.readArchiveIndex(progress, status);
    }
    if (error) {
        return {false, *error};
    }
    return {true, printfText("%s unpacked\r\nNo errors.\r\n%u index items found",
                             packageName.c_str(), unpacker.entryCount())};
}

}  // namespace verada
