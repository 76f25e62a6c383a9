#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "formats/io/result.h"
#include "formats/package/package_file.h"

namespace verada {

// One item of a package's index.
struct PackageItem {
    std::uint32_t typeId = 0;
    std::uint32_t groupId = 0;
    std::uint32_t instanceId = 0;
    std::optional<std::uint32_t> resourceId;  // in Sims 2 indexes (DBPF 1.x, index 7.2) only
    std::uint64_t offset = 0;
    std::uint32_t storedSize = 0;
    std::uint32_t size = 0;  // the bytes it unpacks to: decompressed, or as stored
    bool compressed = false;
    std::uint32_t streamStart = 0;  // stored bytes before the QFS stream of a compressed item
};

// A package's header and index, read without any item's bytes apart from DBPF 1.x's
// compression directory.
struct PackageIndex {
    std::string magic;  // "DBPF" or "DBBF"
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t entryCount = 0;    // as the header gives it
    std::vector<PackageItem> items;  // in index order
    // An index that ends before its last entry: items holds the entries before the cut, and
    // this is the failure that follows them (the unpacker writes those items first).
    std::optional<std::string> cutShort;
};

// Called once the index has been found, with the header's entry count.
using IndexFoundCallback = std::function<void(std::uint32_t entryCount)>;

// Reads the index of a DBPF package of major version 1 (The Sims 2, SimCity 4: index 7.0, 7.1
// or 7.2, with its compression directory), 2 or 3 (Spore: index types 4 to 7), or of a DBBF
// package; fails with the first error text.
Result<PackageIndex> readPackageIndex(const PackageFile& package,
                                      const IndexFoundCallback& found = {});

// Opens the package and reads its index; an index cut short fails.
Result<PackageIndex> readPackageIndex(const std::string& path);

// The name under which the item is unpacked.
std::string itemFileName(const PackageItem& item);

}  // namespace verada
