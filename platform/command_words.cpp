#include "platform/command_words.h"

#include <string_view>

namespace verada {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// The characters a backslash escapes between double quotes.
bool escapableInDoubleQuotes(char c) {
    return std::string_view("$`\"\\\n").find(c) != std::string_view::npos;
}

}  // namespace

std::vector<std::string> splitCommandWords(const std::string& commandLine) {
    enum class Quote { None, Single, Double };
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    Quote quote = Quote::None;
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        const bool escapes = c == '\\' && i + 1 < commandLine.size();
        if (quote == Quote::Single) {
            if (c == '\'') {
                quote = Quote::None;
            } else {
                word += c;
            }
        } else if (quote == Quote::Double) {
            if (c == '"') {
                quote = Quote::None;
            } else if (escapes && escapableInDoubleQuotes(commandLine[i + 1])) {
                // A backslash before a newline joins two lines: both go.
                if (commandLine[++i] != '\n') {
                    word += commandLine[i];
                }
            } else {
                word += c;
            }
        } else if (isBlank(c)) {
            if (inWord) {
                words.push_back(word);
                word.clear();
                inWord = false;
            }
        } else if (escapes && commandLine[i + 1] == '\n') {
            ++i;
        } else {
            inWord = true;
            if (c == '\'') {
                quote = Quote::Single;
            } else if (c == '"') {
                quote = Quote::Double;
            } else if (escapes) {
                word += commandLine[++i];
            } else {
                word += c;
            }
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

}  // namespace verada
