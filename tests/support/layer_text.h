#pragma once

#include <sstream>
#include <string>

#include "formats/scene/material_layer_settings.h"

namespace verada::test {

// The whole record on one line, so that a test compares it at once and a failure shows it all.
inline std::string layerText(const MaterialLayerSettings& s) {
    std::ostringstream text;
    text << s.layerCount << "/" << s.currentLayer << " shininess " << s.hasShininess << " "
         << s.shininess << " ambient " << s.hasAmbient;
    for (float v : s.ambient)
        text << " " << v;
    text << " specular " << s.hasSpecular;
    for (float v : s.specular)
        text << " " << v;
    text << " diffuse " << s.hasDiffuse;
    for (float v : s.diffuse)
        text << " " << v;
    text << " self " << s.hasSelfIllumination;
    for (float v : s.selfIllumination)
        text << " " << v;
    text << " texture " << s.hasTexture << " '" << s.textureName << "' alpha " << s.alphaLayer;
    return text.str();
}

}  // namespace verada::test
