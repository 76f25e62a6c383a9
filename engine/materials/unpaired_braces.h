#pragma once

#include <string_view>

namespace verada {

// Ogre's script compiler follows a wild pointer (and crashes the process) when a "$variable"
// is used in a script whose braces do not pair up: a "{" never closed, a typo as small as one
// missing "}" at the end of a material, or a "}" too many after the object using it. True for
// a script that uses a variable and whose braces do not pair up; it is then never handed to
// Ogre. Comments and quoted strings are read as Ogre's lexer reads them.
bool usesVariableWithUnpairedBraces(std::string_view script);

}  // namespace verada
