#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace verada::test {

// Prefix lengths for a truncation sweep over the first `end` bytes: every length below `head`,
// every `stride`-th one, and every one of the last `tail` bytes.
std::vector<std::size_t> sweepLengths(std::size_t end, std::size_t head, std::size_t stride,
                                      std::size_t tail);

// The first `length` bytes in an allocation of exactly that size, so reading past it is caught.
std::vector<std::uint8_t> prefix(const std::vector<std::uint8_t>& bytes, std::size_t length);

std::vector<std::uint8_t> fileBytes(const std::string& path);

}  // namespace verada::test
