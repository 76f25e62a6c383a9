#pragma once

#include <string>
#include <unordered_set>

namespace verada {

// POV-Ray refuses a whole file over one identifier it cannot take, and material names such as
// "Ogre/Skin" or "1 - Default" are common. So every character but ASCII letters, digits and "_"
// becomes "_", a name starting with a digit (or empty) gets "b_" in front, and so does a reserved
// word, until it is none; the result is cut to POV-Ray's 255 characters. Names POV-Ray takes
// stay unchanged.
std::string povIdentifier(const std::string& name);

// Hands out the identifiers of one file, materials and meshes alike, in the order they are
// declared: the first name to reach an identifier keeps it, each later one takes the first
// free "%s%d" (counter from 0), cut so that the whole stays within 255 characters.
class PovIdentifierTable {
  public:
    std::string declare(const std::string& name);

  private:
    std::unordered_set<std::string> taken_;
};

}  // namespace verada
