#include "engine/materials/unpaired_braces.h"

#include <cstddef>

namespace verada {

bool usesVariableWithUnpairedBraces(std::string_view script) {
    std::size_t open = 0;
    bool strayClose = false;
    bool variable = false;
    for (std::size_t i = 0; i < script.size(); ++i) {
        const char c = script[i];
        if (c == '/' && i + 1 < script.size() && script[i + 1] == '/') {
            i = script.find('\n', i);
            if (i == std::string_view::npos) {
                break;
            }
        } else if (c == '/' && i + 1 < script.size() && script[i + 1] == '*') {
            i = script.find("*/", i + 2);
            if (i == std::string_view::npos) {
                break;
            }
            ++i;
        } else if (c == '"') {
            i = script.find('"', i + 1);
            if (i == std::string_view::npos) {
                break;
            }
        } else if (c == '{') {
            ++open;
        } else if (c == '}') {
            if (open == 0) {
                strayClose = true;
            } else {
                --open;
            }
        } else if (c == '$') {
            variable = true;
        }
    }
    return variable && (open != 0 || strayClose);
}

}  // namespace verada
