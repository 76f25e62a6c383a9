#include "cli/message_printer.h"

#include <unistd.h>

#include "formats/io/utf8_text.h"

namespace verada::cli {
namespace {

bool isTerminal(std::FILE* stream) {
    int fd = fileno(stream);
    return fd >= 0 && isatty(fd) == 1;
}

// Each "\r\n" as "\n" (or left as it is), any other control character that a name may have
// brought in escaped, and the whole ending in exactly one line end of its own.
std::string asLines(std::string text, bool unixLineEnds) {
    if (unixLineEnds) {
        std::string::size_type at = 0;
        while ((at = text.find("\r\n", at)) != std::string::npos) {
            text.erase(at, 1);
            ++at;
        }
    }
    text = printableText(text, unixLineEnds ? "\n\t" : "\r\n\t");
    if (text.empty() || text.back() != '\n') {
        text += '\n';
    }
    return text;
}

void put(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

}  // namespace

void MessagePrinter::printMessage(const std::string& file, const std::string& text) {
    if (text.rfind("WARN: ", 0) != 0) {
        exitStatus_ = 1;
    }
    put(err_, printableText(file) + ": " + asLines(text, true));
}

void MessagePrinter::printReport(const std::string& text) {
    put(out_, asLines(text, isTerminal(out_)));
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
