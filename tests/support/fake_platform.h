#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace verada::test {

// Records every message box and answers dialogs from a script queued by the test.
class FakePlatform : public Platform {
  public:
    struct Message {
        bool hasOwner;
        std::string text;
        std::string caption;
        MessageButtons buttons;
        MessageIcon icon;
    };

    std::vector<Message> messages;
    std::vector<FileDialogRequest> fileRequests;
    std::vector<std::string> startedPrograms;
    std::vector<std::string> openedFiles;
    std::vector<std::string> progressLabels;
    std::uint64_t progressUpdates = 0;

    std::deque<std::optional<std::string>> fileAnswers;  // nothing = cancel
    std::deque<int> messageAnswers;                      // empty queue answers OK
    std::deque<std::optional<std::uint32_t>> colorAnswers;
    int memoryLoad = 42;
    bool startSucceeds = true;

    int messageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                   MessageButtons buttons, MessageIcon icon) override;
    std::optional<std::string> fileDialog(const FileDialogRequest& request) override;
    std::optional<std::uint32_t> chooseColor(WindowHandle owner, std::uint32_t initial,
                                             std::array<std::uint32_t, 16>& customColors) override;
    bool startProgram(const std::string& commandLine) override;
    bool openWithDefaultViewer(const std::string& path) override;
    std::unique_ptr<Progress> startProgress(WindowHandle owner, const std::string& label) override;
    int globalMemoryLoad() override { return memoryLoad; }
};

}  // namespace verada::test
