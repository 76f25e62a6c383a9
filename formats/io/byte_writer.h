#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace verada {

// Builds bytes in memory: little-endian by default, big-endian where the name says so.
class ByteWriter {
  public:
    ByteWriter& u8(std::uint8_t value) {
        bytes_.push_back(value);
        return *this;
    }
    ByteWriter& u16(std::uint16_t value) { return u8(value & 0xFF).u8(value >> 8); }
    ByteWriter& u32(std::uint32_t value) { return u16(value & 0xFFFF).u16(value >> 16); }
    ByteWriter& be16(std::uint16_t value) { return u8(value >> 8).u8(value & 0xFF); }
    ByteWriter& be32(std::uint32_t value) { return be16(value >> 16).be16(value & 0xFFFF); }
    ByteWriter& f32(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return u32(bits);
    }
    ByteWriter& zeros(std::size_t count) {
        bytes_.insert(bytes_.end(), count, 0);
        return *this;
    }
    ByteWriter& raw(const std::vector<std::uint8_t>& bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    ByteWriter& text(const std::string& characters) {
        bytes_.insert(bytes_.end(), characters.begin(), characters.end());
        return *this;
    }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    const std::uint8_t* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }

  private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace verada
