#include "cli/terminal_output.h"

#include <unistd.h>

namespace verada::cli {
namespace {

bool isTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) == 1;
}

}  // namespace

void printText(std::FILE* stream, const std::string& text) {
    std::string shown = text;
    if (isTerminal(stream)) {
        std::string::size_type at = 0;
        while ((at = shown.find("\r\n", at)) != std::string::npos) {
            shown.erase(at, 1);
            ++at;
        }
    }
    if (shown.empty() || shown.back() != '\n') {
        shown += '\n';
    }
    std::fwrite(shown.data(), 1, shown.size(), stream);
    std::fflush(stream);
}

ProgressLine::ProgressLine(std::string label)
    : label_(std::move(label)), enabled_(isTerminal(stderr)) {}

ProgressLine::~ProgressLine() {
    if (drawn_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
}

void ProgressLine::update(std::uint64_t done, std::uint64_t total) {
    if (!enabled_) {
        return;
    }
    auto now = std::chrono::steady_clock::now();
    if (drawn_ && done < total && now - lastDraw_ < std::chrono::milliseconds(200)) {
        return;
    }
    lastDraw_ = now;
    drawn_ = true;
    unsigned percent = total ? static_cast<unsigned>(done * 100 / total) : 100;
    std::fprintf(stderr, "\r%s: %3u%%", label_.c_str(), percent);
    std::fflush(stderr);
}

}  // namespace verada::cli
