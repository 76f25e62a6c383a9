#include "formats/io/byte_cursor.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace verada {

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    // A folder opens but cannot be read.
    if (std::ferror(file.get())) {
        return std::nullopt;
    }
    return bytes;
}

void ByteCursor::skip(std::uint64_t count) {
    position_ = count < remaining() ? position_ + static_cast<std::size_t>(count) : size_;
}

std::size_t ByteCursor::readBytes(void* out, std::size_t count) {
    std::size_t got = count < remaining() ? count : remaining();
    if (got > 0) {
        std::memcpy(out, data_ + position_, got);
    }
    position_ += got;
    return got;
}

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

std::optional<std::string> ByteCursor::readU8(std::uint8_t& out) {
    if (readBytes(&out, 1) != 1) {
        return kFileReadError;
    }
    return std::nullopt;
}

std::optional<std::string> ByteCursor::readU16(std::uint16_t& out) {
    std::uint8_t bytes[2];
    if (readBytes(bytes, 2) != 2) {
        return kFileReadError;
    }
    out = static_cast<std::uint16_t>(littleEndian(bytes, 2));
    return std::nullopt;
}

std::optional<std::string> ByteCursor::readU32(std::uint32_t& out) {
    std::uint8_t bytes[4];
    if (readBytes(bytes, 4) != 4) {
        return kFileReadError;
    }
    out = littleEndian(bytes, 4);
    return std::nullopt;
}

std::optional<std::string> ByteCursor::readFloat(float& out) {
    std::uint32_t bits = 0;
    if (auto error = readU32(bits)) {
        return error;
    }
    std::memcpy(&out, &bits, sizeof out);
    return std::nullopt;
}

std::optional<std::string> ByteCursor::readBigEndianU32(std::uint32_t& out) {
    std::uint8_t bytes[4];
    if (readBytes(bytes, 4) != 4) {
        return kBigEndianU32ReadError;
    }
    out = bigEndian(bytes, 4);
    return std::nullopt;
}

std::optional<std::string> ByteCursor::readBigEndianU16(std::uint16_t& out) {
    std::uint8_t bytes[2];
    if (readBytes(bytes, 2) != 2) {
        return kBigEndianU16ReadError;
    }
    out = static_cast<std::uint16_t>(bigEndian(bytes, 2));
    return std::nullopt;
}

}  // namespace verada
