#include "formats/io/big_endian_input.h"

#include <algorithm>
#include <cstring>

namespace verada {

bool BigEndianInput::readU32(std::uint32_t& value) {
    if (remaining() < 4) {
        return false;
    }
    const unsigned char* bytes = data_ + position_;
    value = static_cast<std::uint32_t>(bytes[0]) << 24 |
            static_cast<std::uint32_t>(bytes[1]) << 16 | static_cast<std::uint32_t>(bytes[2]) << 8 |
            static_cast<std::uint32_t>(bytes[3]);
    position_ += 4;
    return true;
}

std::size_t BigEndianInput::readBytes(unsigned char* target, std::size_t count) {
    std::size_t copied = std::min(count, remaining());
    if (copied > 0) {
        std::memcpy(target, data_ + position_, copied);
    }
    position_ += copied;
    return copied;
}

}  // namespace verada
