#include "platform/session_directories.h"

#include <filesystem>
#include <system_error>

namespace verada {

std::string currentDirectory() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::current_path(error);
    return error ? std::string() : path.string();
}

void restoreDirectories(SessionDirectories& directories) {
    directories.lastUsedDirectory = currentDirectory();
    std::error_code error;
    std::filesystem::current_path(directories.startupDirectory, error);
}

}  // namespace verada
