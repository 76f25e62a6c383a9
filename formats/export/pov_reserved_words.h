#pragma once

#include <string_view>

namespace verada {

// True for the words POV-Ray 3.7 reserves: a declaration under such a name is refused.
bool isPovReservedWord(std::string_view word);

}  // namespace verada
