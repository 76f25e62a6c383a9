#pragma once

#include <array>
#include <string>

namespace verada {

// The flat copy of one material layer: pass currentLayer of technique 0, its texture being
// texture unit 0. Names are at most 255 characters.
struct MaterialLayerSettings {
    std::string materialName;
    int layerCount = 0;
    int currentLayer = 0;
    bool hasShininess = false;
    float shininess = 0.0f;
    bool hasAmbient = false;
    std::array<float, 3> ambient{};  // r, g, b
    bool hasSpecular = false;
    std::array<float, 4> specular{};  // a, r, g, b: alpha first
    bool hasDiffuse = false;
    std::array<float, 4> diffuse{};  // a, r, g, b: alpha first
    bool hasSelfIllumination = false;
    std::array<float, 3> selfIllumination{};  // r, g, b
    bool hasTexture = false;
    std::string textureName;
    bool alphaLayer = false;  // the pass's source blend factor is the source alpha
};

}  // namespace verada
