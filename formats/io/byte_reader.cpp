#include "formats/io/byte_reader.h"

#include <cstring>

namespace verada {

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

bool ByteReader::readFloat(float& out) {
    std::uint32_t bits = 0;
    if (!readU32(bits)) {
        return false;
    }
    std::memcpy(&out, &bits, sizeof out);
    return true;
}

bool ByteReader::readWord(int count, bool bigEndian, std::uint32_t& out) {
    if (!has(static_cast<std::uint64_t>(count))) {
        return false;
    }
    const std::uint8_t* bytes = data_ + position_;
    out = 0;
    for (int i = 0; i < count; ++i) {
        out = (out << 8) | bytes[bigEndian ? i : count - 1 - i];
    }
    position_ += static_cast<std::size_t>(count);
    return true;
}

}  // namespace verada
