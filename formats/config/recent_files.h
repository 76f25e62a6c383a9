#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "formats/config/profile.h"

namespace verada {

// The files the viewer opened last, newest first; the configuration file keeps them in
// [RecentFiles] as File0 (the newest) to File7.
class RecentFiles {
  public:
    static constexpr std::size_t kCapacity = 8;

    // Puts the path first; an earlier entry for it goes, and so does the oldest beyond eight.
    // Empty paths and paths with line breaks are not kept.
    void add(const std::string& path);
    void remove(const std::string& path);
    const std::vector<std::string>& paths() const { return paths_; }

  private:
    std::vector<std::string> paths_;
};

// Empty and repeated entries are skipped.
RecentFiles loadRecentFiles(const IniProfile& profile);
// Keys left over from a longer list are emptied.
void saveRecentFiles(IniProfile& profile, const RecentFiles& files);

}  // namespace verada
