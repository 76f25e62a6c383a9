#pragma once

#include <string>
#include <string_view>

namespace verada {

// Names read from files (groups, nodes, items, file names) are bytes in no known encoding.

// The bytes as UTF-8, which JSON requires (its writer throws on anything else): every
// well-formed UTF-8 sequence stays as it is, and every other byte is read as Latin-1, so names
// from older game files, and names cut in the middle of a character by a fixed-width field,
// still print as their authors meant.
std::string asUtf8(std::string_view bytes);

// asUtf8 for a terminal: every control character (C0, DEL and C1) other than those in kept is
// written as "\xNN", NN being the bytes of the file, so that a name cannot move the cursor or
// start an escape sequence.
std::string printableText(std::string_view bytes, std::string_view kept = {});

}  // namespace verada
