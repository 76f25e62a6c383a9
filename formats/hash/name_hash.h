#pragma once

#include <cstdint>
#include <string_view>

namespace verada {

// The 32-bit identifier the game's files use for a name: FNV-1 of the text lower-cased A to Z
// only, with every byte sign-extended before the XOR as the game does.
std::uint32_t nameHash(std::string_view text);

}  // namespace verada
