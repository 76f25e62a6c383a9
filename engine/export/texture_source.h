#pragma once

#include <optional>
#include <string>

#include "formats/export/texture_provider.h"

namespace verada {

// The texture file textureName as the engine finds it: in the locations of its resource groups
// (a material script's folder among them), else where a texture of that name was loaded from.
// PNG and JPEG files come as they are; other images are converted to PNG with the engine's
// codecs when they decode. Nothing when there is no such file or it does not decode.
std::optional<EmbeddedImage> textureForExport(const std::string& textureName);

}  // namespace verada
