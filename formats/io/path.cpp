#include "formats/io/path.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace verada {

std::string pathWithoutExtension(const std::string& path) {
    std::size_t folderEnd = path.find_last_of('/');
    std::size_t nameStart = folderEnd == std::string::npos ? 0 : folderEnd + 1;
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) {
        return path;
    }
    return path.substr(0, dot);
}

std::string baseName(const std::string& path) {
    std::size_t folderEnd = path.find_last_of("/\\");
    std::string name = folderEnd == std::string::npos ? path : path.substr(folderEnd + 1);
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string lowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() != '/') {
        return folder + "/" + name;
    }
    return folder + name;
}

}  // namespace verada
