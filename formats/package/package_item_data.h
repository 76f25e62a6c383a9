#pragma once

#include <cstdint>
#include <vector>

#include "formats/io/result.h"
#include "formats/package/package_file.h"
#include "formats/package/package_index.h"

namespace verada {

// The item's bytes as stored in the package; fails with "ERR: ChopItem read error ..." when
// the package ends before them. Never asks for more memory than the package can deliver.
Result<std::vector<std::uint8_t>> readStoredBytes(const PackageFile& package,
                                                  const PackageItem& item);

// The item's bytes as unpacked: a compressed item's QFS stream is checked against the index
// and expanded, any other item comes as stored.
Result<std::vector<std::uint8_t>> readPackageItem(const PackageFile& package,
                                                  const PackageItem& item);

}  // namespace verada
