#pragma once

#include "platform/platform.h"

namespace verada::cli {

// The platform of a command-line run: message boxes become lines on stderr ("caption: text")
// and are answered OK; nothing asks the user, so every dialog counts as cancelled and long
// runs show no progress.
class ConsolePlatform : public Platform {
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

}  // namespace verada::cli
