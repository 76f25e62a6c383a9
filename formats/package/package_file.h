#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/io/file.h"
#include "formats/io/result.h"

namespace verada {

// A package opened for reading, with its size, read at absolute positions.
class PackageFile {
  public:
    // Fails with "Failed to open input file NAME\r\n".
    static Result<PackageFile> open(const std::string& path);

    std::uint64_t size() const { return size_; }
    // The bytes at position, up to count; how many were there.
    std::size_t readAt(std::uint64_t position, void* bytes, std::size_t count) const;

  private:
    File file_;
    std::uint64_t size_ = 0;
};

}  // namespace verada
