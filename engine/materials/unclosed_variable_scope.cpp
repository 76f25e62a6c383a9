#include "engine/materials/unclosed_variable_scope.h"

#include <cstddef>
#include <vector>

namespace verada {

bool hasVariableInUnclosedObject(std::string_view script) {
    std::vector<std::size_t> open;       // positions of the "{" not yet closed
    std::vector<std::size_t> variables;  // positions of every "$"
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
            open.push_back(i);
        } else if (c == '}' && !open.empty()) {
            open.pop_back();
        } else if (c == '$') {
            variables.push_back(i);
        }
    }
    return !open.empty() && !variables.empty() && variables.back() > open.front();
}

}  // namespace verada
