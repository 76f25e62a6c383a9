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

// Builds a DBPF version 2 package at outputPath from every "KL-*.*" file of sourceDirectory,
// in name order, taking the type, group and instance ids from the hexadecimal fields of each
// name. The package goes through the atomic writer, so a failed run leaves an existing package
// as it was.
Result<PackedArchive> packArchive(const std::string& sourceDirectory, const std::string& outputPath,
                                  const ProgressCallback& progress = {});

}  // namespace verada
