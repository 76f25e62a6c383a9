#include "formats/hash/name_hash.h"

namespace verada {

std::uint32_t nameHash(std::string_view text) {
    constexpr std::uint32_t kOffsetBasis = 0x811C9DC5u;
    constexpr std::uint32_t kPrime = 0x01000193u;
    std::uint32_t hash = kOffsetBasis;
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        // Bytes of 0x80 and above XOR in 0xFFFFFF80..0xFFFFFFFF; names with accents depend on it.
        auto extended = static_cast<std::int32_t>(static_cast<std::int8_t>(c));
        hash = hash * kPrime;
        hash ^= static_cast<std::uint32_t>(extended);
    }
    return hash;
}

}  // namespace verada
