#include "tests/support/fake_platform.h"

#include <gtest/gtest.h>

namespace verada::test {

int FakePlatform::messageBox(WindowHandle owner, const std::string& text,
                             const std::string& caption, MessageButtons buttons, MessageIcon icon) {
    messages.push_back({owner != nullptr, text, caption, buttons, icon});
    if (messageAnswers.empty()) {
        return kMessageOk;
    }
    int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakePlatform::fileDialog(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) {
        ADD_FAILURE() << "unexpected file dialog";
        return std::nullopt;
    }
    std::optional<std::string> answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<std::uint32_t> FakePlatform::chooseColor(
    WindowHandle owner, std::uint32_t initial, std::array<std::uint32_t, 16>& customColors) {
    colorRequests.push_back({owner, initial, customColors});
    if (colorAnswers.empty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return std::nullopt;
    }
    ColorAnswer answer = colorAnswers.front();
    colorAnswers.pop_front();
    if (answer.customColors) {
        customColors = *answer.customColors;
    }
    return answer.color;
}

ProgramRun FakePlatform::startProgram(const std::vector<std::string>& arguments, bool wait) {
    startedPrograms.push_back({arguments, wait});
    if (!startSucceeds) {
        return {false, "No such file or directory", 0};
    }
    return {true, "", 0};
}

std::chrono::system_clock::time_point FakePlatform::currentTime() {
    if (times.empty()) {
        return std::chrono::system_clock::now();
    }
    std::chrono::system_clock::time_point time = times.front();
    times.pop_front();
    return time;
}

bool FakePlatform::openWithDefaultViewer(const std::string& path) {
    openedFiles.push_back(path);
    return startSucceeds;
}

namespace {

class CountingProgress : public Progress {
  public:
    explicit CountingProgress(std::uint64_t& updates) : updates_(updates) {}
    void update(std::uint64_t, std::uint64_t) override { ++updates_; }

  private:
    std::uint64_t& updates_;
};

}  // namespace

std::unique_ptr<Progress> FakePlatform::startProgress(WindowHandle, const std::string& label) {
    progressLabels.push_back(label);
    return std::make_unique<CountingProgress>(progressUpdates);
}

}  // namespace verada::test
