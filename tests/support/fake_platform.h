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
    struct StartedProgram {
        std::vector<std::string> arguments;
        bool wait;
    };
    std::vector<StartedProgram> startedPrograms;
    std::vector<std::string> openedFiles;
    std::vector<std::string> progressLabels;
    std::uint64_t progressUpdates = 0;

    // What the colour chooser was opened with.
    struct ColorRequest {
        WindowHandle owner;
        std::uint32_t initial;
        std::array<std::uint32_t, 16> customColors;
    };
    // The chooser's answer: a colour, or nothing for cancel; the custom colours the user left
    // in it, when they changed.
    struct ColorAnswer {
        std::optional<std::uint32_t> color;
        std::optional<std::array<std::uint32_t, 16>> customColors;
    };
    std::vector<ColorRequest> colorRequests;

    std::deque<std::optional<std::string>> fileAnswers;  // nothing = cancel
    std::deque<int> messageAnswers;                      // empty queue answers OK
    std::deque<ColorAnswer> colorAnswers;
    int memoryLoad = 42;
    bool startSucceeds = true;
    // The times the clock tells, one per reading; once used up it tells the system's time.
    std::deque<std::chrono::system_clock::time_point> times;

    int messageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                   MessageButtons buttons, MessageIcon icon) override;
    std::optional<std::string> fileDialog(const FileDialogRequest& request) override;
    std::optional<std::uint32_t> chooseColor(WindowHandle owner, std::uint32_t initial,
                                             std::array<std::uint32_t, 16>& customColors) override;
    ProgramRun startProgram(const std::vector<std::string>& arguments, bool wait) override;
    bool openWithDefaultViewer(const std::string& path) override;
    std::unique_ptr<Progress> startProgress(WindowHandle owner, const std::string& label) override;
    int globalMemoryLoad() override { return memoryLoad; }
    std::chrono::system_clock::time_point currentTime() override;
};

}  // namespace verada::test
