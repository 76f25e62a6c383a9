#include "formats/scenefile/rts_input.h"

namespace verada {

RtsInput::RtsInput(std::string_view text) : text_(text), lines_(text) {
    profile_.matchExactSectionNamesFirst();
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(pos, end - pos);
        lines_.add(line);
        if (RtsLineIndex::runPrefix(line).empty()) {
            profile_.parseLine(line);
        }
        pos = end + 1;
    }
    allowance_ = lines_.lineCount();
}

bool RtsInput::draw(std::size_t items) {
    if (items > allowance_) {
        return false;
    }
    allowance_ -= items;
    return true;
}

}  // namespace verada
