#pragma once

#include <string>

namespace verada {

// The text as UTF-8, which glTF's JSON requires (its writer throws on anything else): valid
// UTF-8 stays as it is; other text, such as names from older game files, is read as Latin-1.
std::string asUtf8(const std::string& text);

}  // namespace verada
