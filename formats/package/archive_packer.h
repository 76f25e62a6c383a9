#pragma once

#include <cstdint>
#include <string>

#include "formats/io/progress_callback.h"
#include "formats/io/result.h"

namespace verada {

inline constexpr std::size_t kPackMaxFiles = 10000;
inline constexpr std::size_t kPackNameBufferSize = 48;

struct PackedArchive {
    std::size_t itemCount = 0;
    std::uint64_t bytesWritten = 0;
};

// How the packer stores each item.
enum class ItemStorage {
    AsIs,
    // QFS-compressed when that makes the item smaller, marked so in the index (stored size,
    // decompressed size, flags 0xFFFF); an item that does not shrink is stored as it is.
    CompressedWhenSmaller,
};

// Builds a DBPF version 2 package at outputPath from every "KL-*.*" file of sourceDirectory,
// in name order, taking the type, group and instance ids from the hexadecimal fields of each
// name. The package goes through the atomic writer, so a failed run leaves an existing package
// as it was.
Result<PackedArchive> packArchive(const std::string& sourceDirectory, const std::string& outputPath,
                                  const ProgressCallback& progress = {},
                                  ItemStorage storage = ItemStorage::AsIs);

}  // namespace verada
