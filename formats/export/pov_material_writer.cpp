#include "formats/export/pov_material_writer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>
#include <string_view>

namespace verada {
namespace {

// The image types POV-Ray 3.7 reads.
constexpr std::string_view kPovImageTypes[] = {"exr", "gif", "hdr", "iff", "jpeg", "pgm",
                                               "png", "ppm", "sys", "tga", "tiff"};

float average(float red, float green, float blue) {
    return (red + green + blue) / 3;
}

}  // namespace

std::string povImageType(const std::string& textureName) {
    const std::size_t nameStart = textureName.find_last_of("/\\");
    const std::size_t dot = textureName.rfind('.');
    if (dot == std::string::npos || (nameStart != std::string::npos && dot < nameStart)) {
        return "";
    }
    std::string type = textureName.substr(dot + 1);
    std::transform(type.begin(), type.end(), type.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (type == "jpg") {
        type = "jpeg";
    }
    const bool known = std::find(std::begin(kPovImageTypes), std::end(kPovImageTypes), type) !=
                       std::end(kPovImageTypes);
    return known ? type : "";
}

void writePovMaterial(std::FILE* file, const std::string& identifier,
                      const MaterialLayerSettings& layer, const PovSettings& pov) {
    std::fprintf(file, "#declare %s =\r\n", identifier.c_str());
    std::fprintf(file, "  texture {\r\n");
    if (layer.hasTexture) {
        std::fprintf(file, "    uv_mapping\r\n");
        std::fprintf(file, "    pigment {\r\n");
        std::fprintf(file, "      image_map {%s \"%s%s\"\r\n",
                     povImageType(layer.textureName).c_str(), pov.povTexturePath.c_str(),
                     layer.textureName.c_str());
        std::fprintf(file, "      interpolate 2\r\n");
        std::fprintf(file, "      }\r\n");
        std::fprintf(file, "    }\r\n");
    } else {
        const std::array<float, 3> ambient =
            layer.hasAmbient ? layer.ambient : std::array<float, 3>{};
        std::fprintf(file, "      pigment {rgb <%f, %f, %f>}\r\n", ambient[0], ambient[1],
                     ambient[2]);
        std::fprintf(file, "      finish {\r\n");
        if (layer.hasSpecular) {
            std::fprintf(file, "        specular %f\r\n",
                         average(layer.specular[1], layer.specular[2], layer.specular[3]));
        }
        if (layer.hasDiffuse) {
            std::fprintf(file, "        diffuse %f\r\n",
                         average(layer.diffuse[1], layer.diffuse[2], layer.diffuse[3]));
        }
        std::fprintf(file, "      }\r\n");
    }
    std::fprintf(file, "  }\r\n\r\n");
}

}  // namespace verada
