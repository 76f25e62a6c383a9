#include "formats/config/recent_files.h"

#include <algorithm>

namespace verada {
namespace {

constexpr const char* kRecentFiles = "RecentFiles";
constexpr std::size_t kPathBuffer = 4096;

std::string fileKey(std::size_t index) {
    return "File" + std::to_string(index);
}

}  // namespace

void RecentFiles::add(const std::string& path) {
    // A line break cannot be kept in the configuration file.
    if (path.empty() || path.find_first_of("\r\n") != std::string::npos) {
        return;
    }
    remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kCapacity) {
        paths_.resize(kCapacity);
    }
}

void RecentFiles::remove(const std::string& path) {
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

RecentFiles loadRecentFiles(const IniProfile& profile) {
    RecentFiles files;
    // Added oldest first, so the newest ends up in front.
    for (std::size_t i = RecentFiles::kCapacity; i-- > 0;) {
        std::string path = profile.readString(kRecentFiles, fileKey(i), "", kPathBuffer);
        if (!path.empty()) {
            files.add(path);
        }
    }
    return files;
}

void saveRecentFiles(IniProfile& profile, const RecentFiles& files) {
    const std::vector<std::string>& paths = files.paths();
    for (std::size_t i = 0; i < RecentFiles::kCapacity; ++i) {
        if (i < paths.size()) {
            profile.writeString(kRecentFiles, fileKey(i), paths[i]);
        } else if (profile.hasKey(kRecentFiles, fileKey(i))) {
            profile.writeString(kRecentFiles, fileKey(i), "");
        }
    }
}

}  // namespace verada
