#pragma once

#include <cstddef>
#include <cstdint>

namespace verada {

// Reads big-endian fields from a block of bytes and never past its end.
class BigEndianInput {
  public:
    BigEndianInput(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    // False, with nothing consumed, when fewer than four bytes are left.
    bool readU32(std::uint32_t& value);

    // Copies up to count bytes and returns how many were left to copy.
    std::size_t readBytes(unsigned char* target, std::size_t count);

    std::size_t remaining() const { return size_ - position_; }

  private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace verada
