#pragma once

#include <string>

#include "platform/platform.h"

namespace verada {

// The system services on POSIX and the freedesktop conventions.
class PosixSystemServices : public SystemServices {
  public:
    bool startProgram(const std::string& commandLine) override;
    // Through xdg-open, with the path made absolute.
    bool openWithDefaultViewer(const std::string& path) override;
    // From /proc/meminfo.
    int globalMemoryLoad() override;
};

// 100 × (MemTotal − MemAvailable) / MemTotal from the text of /proc/meminfo; 0 when unknown.
int memoryLoadFromMeminfo(const std::string& meminfo);

}  // namespace verada
