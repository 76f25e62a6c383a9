#pragma once

#include <string_view>

namespace verada {

// Ogre's script compiler follows a wild pointer (and crashes the process) when a "$variable"
// is used inside an object whose "{" is never closed, a typo as small as one missing "}" at the
// end of a material. True for such a script, which is then never handed to Ogre. Comments and
// quoted strings are read as Ogre's lexer reads them.
bool hasVariableInUnclosedObject(std::string_view script);

}  // namespace verada
