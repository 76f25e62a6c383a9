#pragma once

#include <string>
#include <vector>

#include "formats/io/result.h"

namespace verada {

// Loads the Ogre material script at path into the group "MTL" and returns the names of the
// materials it added, in the order made. The script's folder becomes a location of "MTL", where
// its textures are found; a texture that cannot be loaded leaves its layer blank with a
// "WARN: " text, as do the compiler's complaints. Materials are loaded only where a render
// system can take their textures (headless they are parsed only).
// Fails, with the library as it was, when a material is named like the file's base name, when
// Ogre raises ("ERR: " and its text) and when the script adds no material.
Result<std::vector<std::string>> loadMaterialScriptFile(const std::string& path);

}  // namespace verada
