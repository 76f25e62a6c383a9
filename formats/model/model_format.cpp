#include "formats/model/model_format.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "formats/model/gmdc_reader.h"
#include "formats/model/gmdl_reader.h"
#include "formats/model/gmsh_reader.h"

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

std::optional<std::string> readModelFile(ModelFormat format, ImportedModel& model,
                                         const std::string& fileName) {
    switch (format) {
        case ModelFormat::Gmdl:
            return readGmdlFile(model, fileName);
        case ModelFormat::Gmsh:
            return readGmshFile(model, fileName);
        case ModelFormat::Gmdc:
            return readGmdcFile(model, fileName);
    }
    return std::nullopt;
}

}  // namespace verada
