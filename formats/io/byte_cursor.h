#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace verada {

// Short-read texts of the shared read routines.
inline constexpr char kFileReadError[] = "ERR: File read error.";
inline constexpr char kBigEndianU32ReadError[] = "ERR: File Read Error";
inline constexpr char kBigEndianU16ReadError[] = "ERR: File Read Error.";
inline constexpr char kFileMissingError[] = "ERR: File missing or damaged.";

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path);

// Bounded sequential reads over a file held in memory. A read never goes past the end: a short
// read returns the routine's message and consumes what was left.
class ByteCursor {
  public:
    ByteCursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit ByteCursor(const std::vector<std::uint8_t>& bytes)
        : ByteCursor(bytes.data(), bytes.size()) {}

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return size_ - position_; }
    bool has(std::uint64_t count) const { return count <= remaining(); }

    // Seeks never fail; a position past the end shows up at the next read.
    void seek(std::size_t position) { position_ = position < size_ ? position : size_; }
    void skip(std::uint64_t count);

    // Copies up to count bytes and returns how many were there.
    std::size_t readBytes(void* out, std::size_t count);

    std::optional<std::string> readU8(std::uint8_t& out);
    std::optional<std::string> readU16(std::uint16_t& out);
    std::optional<std::string> readU32(std::uint32_t& out);
    std::optional<std::string> readFloat(float& out);
    std::optional<std::string> readBigEndianU32(std::uint32_t& out);
    std::optional<std::string> readBigEndianU16(std::uint16_t& out);

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace verada
