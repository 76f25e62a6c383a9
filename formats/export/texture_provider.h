#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace verada {

// An image file's bytes as a glTF file embeds them.
struct EmbeddedImage {
    std::string mimeType;  // "image/png" or "image/jpeg"
    std::vector<unsigned char> bytes;
};

// The bytes of a texture by its name, or nothing when they cannot be had.
using TextureProvider = std::function<std::optional<EmbeddedImage>(const std::string& textureName)>;

}  // namespace verada
