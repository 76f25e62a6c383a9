#include "formats/package/package_listing.h"

#include "formats/io/printf_text.h"
#include "formats/package/package_item_names.h"

namespace verada {

const ListingRow& listingColumns() {
    static const ListingRow columns = {"Type",   "Name",   "Group", "Instance",  "Resource",
                                       "Offset", "Stored", "Size",  "Compressed"};
    return columns;
}

bool isNumberColumn(std::size_t column) {
    return column == 6 || column == 7;
}

PackageListing listPackage(const PackageIndex& index) {
    PackageListing listing;
    std::uint64_t stored = 0;
    std::uint64_t unpacked = 0;
    std::size_t compressed = 0;
    for (const PackageItem& item : index.items) {
        listing.rows.push_back({
            printfText("%08X", item.typeId),
            typeIdToName(item.typeId).name,
            printfText("%08X", item.groupId),
            printfText("%08X", item.instanceId),
            item.resourceId ? printfText("%08X", *item.resourceId) : std::string(),
            printfText("%08llX", static_cast<unsigned long long>(item.offset)),
            std::to_string(item.storedSize),
            std::to_string(item.size),
            item.compressed ? "yes" : "no",
        });
        stored += item.storedSize;
        unpacked += item.size;
        compressed += item.compressed ? 1 : 0;
    }
    listing.summary = printfText(
        "%s %u.%u, %zu items, %zu compressed, %llu bytes stored, %llu bytes unpacked",
        index.magic.c_str(), index.majorVersion, index.minorVersion, index.items.size(), compressed,
        static_cast<unsigned long long>(stored), static_cast<unsigned long long>(unpacked));
    return listing;
}

}  // namespace verada
