#pragma once

#include <cstdio>
#include <string>

#include "formats/config/view_settings.h"
#include "formats/scene/material_layer_settings.h"

namespace verada {

// The image type keyword of a texture file: its extension, "jpeg" for "jpg". POV-Ray takes only
// its own lower-case keywords, so "JPG" is read as "jpeg" too, and an extension it has no
// keyword for gives an empty text: POV-Ray then goes by the file's extension itself.
std::string povImageType(const std::string& textureName);

// "#declare IDENTIFIER =" and the texture of a material's layer 0.
void writePovMaterial(std::FILE* file, const std::string& identifier,
                      const MaterialLayerSettings& layer, const PovSettings& pov);

}  // namespace verada
