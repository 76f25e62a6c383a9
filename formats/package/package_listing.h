#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "formats/package/package_index.h"

namespace verada {

inline constexpr std::size_t kListingColumnCount = 9;
using ListingRow = std::array<std::string, kListingColumnCount>;

// The heading of the listing's columns.
const ListingRow& listingColumns();

// A package's index as the command line and the viewer show it: a summary line and one row
// of texts per item (ids and offset in hexadecimal, sizes in decimal).
struct PackageListing {
    std::string summary;  // "DBPF 1.1, 4 items, 0 compressed, ..."
    std::vector<ListingRow> rows;
};

PackageListing listPackage(const PackageIndex& index);

// Whether the column holds numbers (set right-aligned).
bool isNumberColumn(std::size_t column);

}  // namespace verada
