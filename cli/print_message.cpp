#include "cli/print_message.h"

namespace verada::cli {

void printMessage(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    if (text.empty() || text.back() != '\n') {
        std::fputc('\n', stream);
    }
}

}  // namespace verada::cli
