#pragma once

#include "platform/platform.h"

namespace verada {

// The platform services on Qt and POSIX. Window handles are QWidget pointers.
class QtPlatform : public Platform {
  public:
    int messageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                   MessageButtons buttons, MessageIcon icon) override;
    std::optional<std::string> fileDialog(const FileDialogRequest& request) override;
    std::optional<std::uint32_t> chooseColor(WindowHandle owner, std::uint32_t initial,
                                             std::array<std::uint32_t, 16>& customColors) override;
    bool startProgram(const std::string& commandLine) override;
    bool openWithDefaultViewer(const std::string& path) override;
    std::unique_ptr<Progress> startProgress(WindowHandle owner, const std::string& label) override;
    int globalMemoryLoad() override;
};

// 100 × (MemTotal − MemAvailable) / MemTotal from the text of /proc/meminfo; 0 when unknown.
int memoryLoadFromMeminfo(const std::string& meminfo);

}  // namespace verada
