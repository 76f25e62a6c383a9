#include "platform/posix/working_directory.h"

#include <filesystem>
#include <system_error>

namespace verada {

std::string currentDirectory() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::current_path(error);
    return error ? std::string() : path.string();
}

SessionDirectories sessionDirectoriesHere() {
    std::string here = currentDirectory();
    return {here, here};
}

WorkingDirectoryGuard::~WorkingDirectoryGuard() {
    if (!stay_) {
        std::error_code ignored;
        std::filesystem::current_path(startupDirectory_, ignored);
    }
}

}  // namespace verada
