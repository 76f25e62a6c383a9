#include "tools/qfs_decompressor.h"

#include <cstring>

namespace verada {
namespace {

constexpr std::size_t kHeaderSize = 5;

// Copies a back-reference. Runs that do not overlap their source move in one block; a shorter
// distance repeats the last `distance` bytes, copied in growing blocks whose source never
// overlaps their destination, which gives the same bytes as copying one at a time.
inline void copyMatch(std::uint8_t* output, std::size_t outputSize, std::size_t d,
                      std::size_t distance, std::size_t length) {
    std::uint8_t* target = output + d;
    const std::uint8_t* source = target - distance;
    if (distance >= 16 && d + 16 <= outputSize && length <= 16) {
        // Most copies are short: one fixed-size move; bytes past the run are rewritten later.
        std::memcpy(target, source, 16);
        return;
    }
    if (distance >= length) {
        std::memcpy(target, source, length);
        return;
    }
    if (distance == 1) {
        std::memset(target, *source, length);
        return;
    }
    std::size_t left = length;
    while (left > 0) {
        std::size_t block = static_cast<std::size_t>(target - source);
        if (block > left) {
            block = left;
        }
        std::memcpy(target, source, block);
        target += block;
        left -= block;
    }
}

inline void copyLiterals(std::uint8_t* output, std::size_t outputSize, std::size_t d,
                         const std::uint8_t* source, std::size_t sourceLeft, std::size_t length) {
    if (length <= 4 && d + 4 <= outputSize && sourceLeft >= 4) {
        std::memcpy(output + d, source, 4);
        return;
    }
    std::memcpy(output + d, source, length);
}

}  // namespace

std::optional<std::string> decompressQfs(const std::uint8_t* input, std::size_t inputSize,
                                         std::uint8_t* output, std::size_t outputSize) {
    if (inputSize < kHeaderSize) {
        return std::string(kQfsSourceOverrun);
    }
    std::size_t s = kHeaderSize;
    std::size_t d = 0;
    while (s < inputSize) {
        const std::size_t left = inputSize - s;
        const unsigned b0 = input[s];
        std::size_t codeSize;
        std::size_t literals;
        std::size_t length = 0;
        std::size_t distance = 0;
        if (b0 < 0x80) {
            if (left < 2) {
                return std::string(kQfsSourceOverrun);
            }
            const unsigned b1 = input[s + 1];
            codeSize = 2;
            literals = b0 & 0x03;
            length = ((b0 >> 2) & 0x07) + 3;
            distance = ((b0 & 0x60) << 3) + b1 + 1;
        } else if (b0 < 0xC0) {
            if (left < 3) {
                return std::string(kQfsSourceOverrun);
            }
            const unsigned b1 = input[s + 1];
            const unsigned b2 = input[s + 2];
            codeSize = 3;
            literals = b1 >> 6;
            length = (b0 & 0x3F) + 4;
            distance = ((b1 & 0x3F) << 8) + b2 + 1;
        } else if (b0 < 0xE0) {
            if (left < 4) {
                return std::string(kQfsSourceOverrun);
            }
            const unsigned b1 = input[s + 1];
            const unsigned b2 = input[s + 2];
            const unsigned b3 = input[s + 3];
            codeSize = 4;
            literals = b0 & 0x03;
            length = ((b0 & 0x0C) << 6) + b3 + 5;
            distance = ((b0 & 0x10) << 12) + (b1 << 8) + b2 + 1;
        } else if (b0 < 0xFC) {
            codeSize = 1;
            literals = ((b0 & 0x1F) + 1) * 4;
        } else {
            codeSize = 1;
            literals = b0 & 0x03;
        }
        if (left < codeSize + literals) {
            return std::string(kQfsSourceOverrun);
        }
        s += codeSize;
        if (d + literals <= outputSize) {
            copyLiterals(output, outputSize, d, input + s, inputSize - s, literals);
        }
        s += literals;
        d += literals;
        if (length > 0) {
            if (distance > d) {
                return std::string(kQfsReachBeforeStart);
            }
            if (d + length <= outputSize) {
                copyMatch(output, outputSize, d, distance, length);
            }
            d += length;
        }
    }
    if (d > outputSize) {
        return std::string(kQfsDestinationOverrun);
    }
    if (d < outputSize) {
        return std::string(kQfsDestinationUnderrun);
    }
    return std::nullopt;
}

}  // namespace verada
