#include "cli/console_platform.h"

#include <cstdio>

namespace verada::cli {

int ConsolePlatform::messageBox(WindowHandle, const std::string& text, const std::string& caption,
                                MessageButtons, MessageIcon) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return kMessageOk;
}

std::optional<std::string> ConsolePlatform::fileDialog(const FileDialogRequest&) {
    return std::nullopt;
}

std::optional<std::uint32_t> ConsolePlatform::chooseColor(WindowHandle, std::uint32_t,
                                                          std::array<std::uint32_t, 16>&) {
    return std::nullopt;
}

bool ConsolePlatform::startProgram(const std::string&) {
    return false;
}

bool ConsolePlatform::openWithDefaultViewer(const std::string&) {
    return false;
}

namespace {

class SilentProgress : public Progress {
  public:
    void update(std::uint64_t, std::uint64_t) override {}
};

}  // namespace

std::unique_ptr<Progress> ConsolePlatform::startProgress(WindowHandle, const std::string&) {
    return std::make_unique<SilentProgress>();
}

int ConsolePlatform::globalMemoryLoad() {
    return 0;
}

}  // namespace verada::cli
