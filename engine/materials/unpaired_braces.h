#pragma once

#include <OgreScriptCompiler.h>

namespace verada {

// Ogre's script compiler follows a wild pointer (and crashes the process) when a "$variable"
// is used in a script with a "{" that its parser leaves unclosed: a typo as small as one
// missing "}" at the end of a material, or one "}" too many, which the parser takes as closing
// the wrong block. True for such a parsed script, which is then never converted. Read on
// Ogre's own parse tree, where each "{" has its "}" beside it, so that braces count as Ogre's
// lexer found them (in quotes, comments and escapes alike).
bool usesVariableWithUnpairedBraces(const Ogre::ConcreteNodeList& nodes);

}  // namespace verada
