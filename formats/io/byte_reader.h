#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace verada {

// Short-read texts the readers share.
inline constexpr char kFileReadError[] = "ERR: File read error.";
inline constexpr char kBigEndianU32ReadError[] = "ERR: File Read Error";
inline constexpr char kBigEndianU16ReadError[] = "ERR: File Read Error.";

// Bounded reads over bytes held in memory. No read goes past the end: a fixed-width read that
// does not fit returns false and consumes nothing; readBytes copies what is there.
class ByteReader {
  public:
    ByteReader() = default;
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const std::vector<std::uint8_t>& bytes)
        : ByteReader(bytes.data(), bytes.size()) {}

    std::size_t size() const { return size_; }
    std::size_t position() const { return position_; }
    std::size_t remaining() const { return size_ - position_; }
    bool has(std::uint64_t count) const { return count <= remaining(); }

    // Seeks and skips never fail; a position past the end is clamped and shows at the next read.
    void seek(std::size_t position) { position_ = position < size_ ? position : size_; }
    void skip(std::uint64_t count);

    // The next count bytes (or as many as are left) as a reader of their own; this one moves
    // past them.
    ByteReader take(std::size_t count);

    // Copies up to count bytes and returns how many were there.
    std::size_t readBytes(void* out, std::size_t count);

    bool readU8(std::uint8_t& out) { return readNumber(false, out); }
    bool readU16(std::uint16_t& out) { return readNumber(false, out); }
    bool readU32(std::uint32_t& out) { return readNumber(false, out); }
    bool readFloat(float& out);
    bool readU16Be(std::uint16_t& out) { return readNumber(true, out); }
    bool readU32Be(std::uint32_t& out) { return readNumber(true, out); }

  private:
    bool readWord(int count, bool bigEndian, std::uint32_t& out);
    template <typename T>
    bool readNumber(bool bigEndian, T& out) {
        std::uint32_t value = 0;
        if (!readWord(static_cast<int>(sizeof(T)), bigEndian, value)) {
            return false;
        }
        out = static_cast<T>(value);
        return true;
    }

    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t position_ = 0;
};

}  // namespace verada
