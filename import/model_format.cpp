#include "import/model_format.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace verada {

std::optional<ModelFormat> modelFormatForPath(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".gmdl") {
        return ModelFormat::Gmdl;
    }
    if (extension == ".gmsh") {
        return ModelFormat::Gmsh;
    }
    if (extension == ".5gd" || extension == ".simpe") {
        return ModelFormat::Gmdc;
    }
    return std::nullopt;
}

}  // namespace verada
