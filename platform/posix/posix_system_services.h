#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace verada {

// The system services on POSIX and the freedesktop conventions.
class PosixSystemServices : public SystemServices {
  public:
    // Waited for through posix_spawnp and waitpid; detached through a double fork, so that
    // nothing is left for this process to wait for.
    ProgramRun startProgram(const std::vector<std::string>& arguments, bool wait) override;
    // Through xdg-open, with the path made absolute.
    bool openWithDefaultViewer(const std::string& path) override;
    // From /proc/meminfo.
    int globalMemoryLoad() override;
    std::chrono::system_clock::time_point currentTime() override;
};

// 100 × (MemTotal − MemAvailable) / MemTotal from the text of /proc/meminfo; 0 when unknown.
int memoryLoadFromMeminfo(const std::string& meminfo);

}  // namespace verada
