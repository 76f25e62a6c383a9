#pragma once

#include <array>
#include <cstdint>

namespace verada {

inline constexpr std::uint32_t kPmetMaxStringUnits = 127;
inline constexpr std::uint32_t kPmetMaxTags = 32;
inline constexpr std::uint32_t kPmetMaxTagLength = 127;

// The header of a Spore PMET file as stored: integers byte-swapped from big-endian, strings as
// their raw bytes (two per 16-bit unit, in file order).
struct PmetRecord {
    std::uint32_t version = 0;
    std::uint32_t guidLength = 8;
    std::array<unsigned char, 8> guid{};
    std::array<std::uint32_t, 3> creatureId1{};
    std::array<std::uint32_t, 3> creatureId2{};
    std::array<std::uint32_t, 2> v10Quad{};  // version 10 only
    std::array<std::uint32_t, 2> tid{};
    std::array<std::uint32_t, 2> tid2{};  // version 10 only
    std::array<std::uint32_t, 3> userId{};
    std::uint32_t userNameLength = 0;  // in 16-bit units
    std::array<unsigned char, 2 * kPmetMaxStringUnits> userName{};
    std::uint32_t creatureNameLength = 0;
    std::array<unsigned char, 2 * kPmetMaxStringUnits> creatureName{};
    std::uint32_t commentsLength = 0;
    std::array<unsigned char, 2 * kPmetMaxStringUnits> comments{};
    std::uint32_t tagCount = 0;
    std::array<std::uint32_t, kPmetMaxTags> tagLength{};  // in bytes
    std::array<std::array<unsigned char, kPmetMaxTagLength>, kPmetMaxTags> tagText{};
    std::array<std::uint32_t, 3> tgi{};  // type, group, instance
};

}  // namespace verada
