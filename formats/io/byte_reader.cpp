#include "formats/io/byte_reader.h"

#include <cstring>

namespace verada {
namespace {

std::uint32_t littleEndian(const std::uint8_t* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

std::uint32_t bigEndian(const std::uint8_t* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

}  // namespace

void ByteReader::skip(std::uint64_t count) {
    position_ = count < remaining() ? position_ + static_cast<std::size_t>(count) : size_;
}

ByteReader ByteReader::take(std::size_t count) {
    std::size_t taken = count < remaining() ? count : remaining();
    ByteReader part(data_ + position_, taken);
    position_ += taken;
    return part;
}

std::size_t ByteReader::readBytes(void* out, std::size_t count) {
    std::size_t got = count < remaining() ? count : remaining();
    if (got > 0) {
        std::memcpy(out, data_ + position_, got);
    }
    position_ += got;
    return got;
}

bool ByteReader::readU8(std::uint8_t& out) {
    if (!has(1)) {
        return false;
    }
    out = data_[position_++];
    return true;
}

bool ByteReader::readU16(std::uint16_t& out) {
    if (!has(2)) {
        return false;
    }
    out = static_cast<std::uint16_t>(littleEndian(data_ + position_, 2));
    position_ += 2;
    return true;
}

bool ByteReader::readU32(std::uint32_t& out) {
    if (!has(4)) {
        return false;
    }
    out = littleEndian(data_ + position_, 4);
    position_ += 4;
    return true;
}

bool ByteReader::readFloat(float& out) {
    std::uint32_t bits = 0;
    if (!readU32(bits)) {
        return false;
    }
    std::memcpy(&out, &bits, sizeof out);
    return true;
}

bool ByteReader::readU16Be(std::uint16_t& out) {
    if (!has(2)) {
        return false;
    }
    out = static_cast<std::uint16_t>(bigEndian(data_ + position_, 2));
    position_ += 2;
    return true;
}

bool ByteReader::readU32Be(std::uint32_t& out) {
    if (!has(4)) {
        return false;
    }
    out = bigEndian(data_ + position_, 4);
    position_ += 4;
    return true;
}

}  // namespace verada
