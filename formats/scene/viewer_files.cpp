#include "formats/scene/viewer_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace verada {

const std::vector<ViewerFileType>& viewerFileTypes() {
    static const std::vector<ViewerFileType> types = {
        {".gmdl", "model/x-spore-gmdl", false},
        {".gmsh", "model/x-spore-gmsh", false},
        {".5gd", "model/x-sims2-gmdc", false},
        {".simpe", "model/x-sims2-gmdc", false},
    };
    return types;
}

const ViewerFileType* viewerFileType(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const ViewerFileType& type : viewerFileTypes()) {
        if (extension == type.extension) {
            return &type;
        }
    }
    return nullptr;
}

std::string viewerFileExtensionList() {
    std::string list;
    for (const ViewerFileType& type : viewerFileTypes()) {
        list += (list.empty() ? "" : ", ") + std::string(type.extension);
    }
    return list;
}

}  // namespace verada
