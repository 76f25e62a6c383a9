#pragma once

#include "platform/platform.h"
#include "platform/posix/posix_system_services.h"

namespace verada {

// The viewer's platform: dialogs on Qt, system services on POSIX. Window handles are QWidget
// pointers.
class QtPlatform : public Platform {
  public:
    int messageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                   MessageButtons buttons, MessageIcon icon) override;
    std::optional<std::string> fileDialog(const FileDialogRequest& request) override;
    std::optional<std::uint32_t> chooseColor(WindowHandle owner, std::uint32_t initial,
                                             std::array<std::uint32_t, 16>& customColors) override;
    std::unique_ptr<Progress> startProgress(WindowHandle owner, const std::string& label) override;

    // Detached through QProcess; waited for as on the console.
    ProgramRun startProgram(const std::vector<std::string>& arguments, bool wait) override;
    bool openWithDefaultViewer(const std::string& path) override;
    int globalMemoryLoad() override;
    std::chrono::system_clock::time_point currentTime() override;

  private:
    PosixSystemServices system_;
};

}  // namespace verada
