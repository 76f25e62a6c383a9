#include "formats/package/package_item_data.h"

#include <algorithm>
#include <optional>
#include <string>

#include "formats/io/byte_reader.h"
#include "formats/io/printf_text.h"
#include "formats/io/zeroed_allocation.h"
#include "formats/package/qfs_decompressor.h"

namespace verada {
namespace {

// A compressed item's stream starts with a QFS header that must match the index.
Status checkQfsHeader(const PackageItem& item, const std::uint8_t* stream, std::size_t size) {
    // Bytes a stream shorter than its header lacks read as 0.
    std::uint8_t header[5] = {};
    ByteReader(stream, size).readBytes(header, sizeof header);
    const std::uint32_t signature = header[0] | header[1] << 8;
    if (signature != 0xFB10 && signature != 0xFB50) {
        return fail(printfText(
            "ERR: ChopItem uncompression type mismatch, expected 0xFB10, found %04X", signature));
    }
    const std::uint32_t streamSize = std::uint32_t{header[2]} << 16 | header[3] << 8 | header[4];
    if (streamSize != item.size) {
        return fail(
            printfText("ERR: ChopItem uncompression size mismatch, expected %08X, found %08X",
                       item.size, streamSize));
    }
    return {};
}

}  // namespace

Result<std::vector<std::uint8_t>> readStoredBytes(const PackageFile& package,
                                                  const PackageItem& item) {
    const std::uint64_t left = item.offset < package.size() ? package.size() - item.offset : 0;
    const std::size_t toRead = item.storedSize <= left ? item.storedSize : left;
    std::vector<std::uint8_t> stored;
    if (!allocateZeroed(stored, toRead)) {
        return fail("ERR: Critical memory allocation error; cbuff.");
    }
    const std::size_t got = package.readAt(item.offset, stored.data(), toRead);
    if (got != item.storedSize) {
        return fail(printfText("ERR: ChopItem read error at %08llX, read %zu of %u bytes",
                               static_cast<unsigned long long>(item.offset), got, item.storedSize));
    }
    return stored;
}

Result<std::vector<std::uint8_t>> readPackageItem(const PackageFile& package,
                                                  const PackageItem& item) {
    Result<std::vector<std::uint8_t>> stored = readStoredBytes(package, item);
    if (!stored || !item.compressed) {
        return stored;
    }
    const std::size_t skipped = std::min<std::size_t>(item.streamStart, stored->size());
    const std::uint8_t* stream = stored->data() + skipped;
    const std::size_t streamSize = stored->size() - skipped;
    if (Status checked = checkQfsHeader(item, stream, streamSize); !checked) {
        return checked.failure();
    }
    // Only a compressed item needs room for its (at most 16 MiB) expansion.
    std::vector<std::uint8_t> expanded;
    if (!allocateZeroed(expanded, std::size_t{item.size} + 1)) {
        return fail("ERR: Critical memory allocation error; dbuff.");
    }
    if (std::optional<std::string> error =
            decompressQfs(stream, streamSize, expanded.data(), item.size)) {
        return fail(*error);
    }
    expanded.resize(item.size);
    return expanded;
}

}  // namespace verada
