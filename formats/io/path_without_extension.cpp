#include "formats/io/path_without_extension.h"

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

}  // namespace verada
