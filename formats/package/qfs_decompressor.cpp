#include "formats/package/qfs_decompressor.h"

#include <cstring>

namespace verada {
namespace {

constexpr std::size_t kHeaderSize = 5;
// Away from both ends of the buffers no code needs a bounds check: a code takes at most 4 bytes
// plus 112 literals, and writes at most 3 literals and a 1028-byte copy (or 112 literals), plus
// up to 16 bytes of over-copy.
constexpr std::size_t kInputSlack = 4 + 112;
constexpr std::size_t kOutputSlack = 3 + 1028 + 16 + 112;

struct Code {
    std::size_t size;
    std::size_t literals;
    std::size_t length;
    std::size_t distance;
};

// The code at p; the caller has made sure its bytes are present (b0 decides how many).
inline Code readCode(const std::uint8_t* p) {
    const unsigned b0 = p[0];
    if (b0 < 0x80) {
        return {2, b0 & 0x03u, ((b0 >> 2) & 0x07u) + 3, ((b0 & 0x60u) << 3) + p[1] + 1};
    }
    if (b0 < 0xC0) {
        return {3, static_cast<std::size_t>(p[1] >> 6), (b0 & 0x3Fu) + 4,
                ((p[1] & 0x3Fu) << 8) + p[2] + 1};
    }
    if (b0 < 0xE0) {
        return {4, b0 & 0x03u, ((b0 & 0x0Cu) << 6) + p[3] + 5,
                ((b0 & 0x10u) << 12) + (static_cast<std::size_t>(p[1]) << 8) + p[2] + 1};
    }
    if (b0 < 0xFC) {
        return {1, ((b0 & 0x1Fu) + 1) * 4, 0, 0};
    }
    return {1, b0 & 0x03u, 0, 0};
}

inline std::size_t codeSize(unsigned b0) {
    return b0 < 0x80 ? 2 : b0 < 0xC0 ? 3 : b0 < 0xE0 ? 4 : 1;
}

// Copies a back-reference so that every byte equals the one `distance` back, as if copied one
// at a time. With 16 bytes to spare after the run, fixed-size chunks no longer than the
// distance never read a byte they have not already written; bytes written past the run are
// rewritten by the codes that follow. Most runs are short: two 8-byte chunks cover them
// whatever their distance, which spares the processor a hard-to-guess branch.
inline void copyMatch(std::uint8_t* target, std::size_t distance, std::size_t length,
                      bool roomToSpare) {
    const std::uint8_t* source = target - distance;
    if (roomToSpare && distance >= 8) {
        std::memcpy(target, source, 8);
        std::memcpy(target + 8, source + 8, 8);
        if (length > 16) {
            if (distance >= 16) {
                for (std::size_t i = 16; i < length; i += 16) {
                    std::memcpy(target + i, source + i, 16);
                }
            } else {
                for (std::size_t i = 16; i < length; i += 8) {
                    std::memcpy(target + i, source + i, 8);
                }
            }
        }
    } else if (distance == 1) {
        std::memset(target, *source, length);
    } else if (distance >= length) {
        std::memcpy(target, source, length);
    } else {
        // A short repeating pattern: each block doubles the span copied, never overlapping it.
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
}

}  // namespace

std::optional<std::string> decompressQfs(const std::uint8_t* input, std::size_t inputSize,
                                         std::uint8_t* output, std::size_t outputSize) {
    if (inputSize < kHeaderSize) {
        return std::string(kQfsSourceOverrun);
    }
    std::size_t s = kHeaderSize;
    std::size_t d = 0;

    // Bulk of the stream: no bounds checks needed.
    while (s + kInputSlack <= inputSize && d + kOutputSlack <= outputSize) {
        const Code code = readCode(input + s);
        s += code.size;
        if (code.literals <= 4) {
            std::memcpy(output + d, input + s, 4);
        } else {
            std::memcpy(output + d, input + s, code.literals);
        }
        s += code.literals;
        d += code.literals;
        if (code.length > 0) {
            if (code.distance > d) {
                return std::string(kQfsReachBeforeStart);
            }
            copyMatch(output + d, code.distance, code.length, true);
            d += code.length;
        }
    }

    // Near either end every code is checked against what is left.
    while (s < inputSize) {
        const std::size_t left = inputSize - s;
        if (left < codeSize(input[s])) {
            return std::string(kQfsSourceOverrun);
        }
        const Code code = readCode(input + s);
        if (left < code.size + code.literals) {
            return std::string(kQfsSourceOverrun);
        }
        s += code.size;
        // An empty output may come without a buffer, which memcpy must not be given.
        if (code.literals > 0 && d + code.literals <= outputSize) {
            std::memcpy(output + d, input + s, code.literals);
        }
        s += code.literals;
        d += code.literals;
        if (code.length > 0) {
            if (code.distance > d) {
                return std::string(kQfsReachBeforeStart);
            }
            if (d + code.length <= outputSize) {
                copyMatch(output + d, code.distance, code.length,
                          d + code.length + 16 <= outputSize);
            }
            d += code.length;
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
