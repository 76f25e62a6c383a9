#include "cli/engine_log.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace verada::cli {

std::string subcommandEngineLog() {
    std::filesystem::path cache;
    const char* xdgCache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    if (xdgCache != nullptr && std::filesystem::path(xdgCache).is_absolute()) {
        cache = xdgCache;
    } else if (home != nullptr && std::filesystem::path(home).is_absolute()) {
        cache = std::filesystem::path(home) / ".cache";
    } else {
        return "";
    }
    std::filesystem::path folder = cache / "verada";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        return "";
    }
    return (folder / "Ogre.log").string();
}

}  // namespace verada::cli
