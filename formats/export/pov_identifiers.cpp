#include "formats/export/pov_identifiers.h"

#include <algorithm>

#include "formats/export/pov_reserved_words.h"

namespace verada {
namespace {

constexpr std::size_t kMaxIdentifierLength = 255;
constexpr const char* kPrefix = "b_";

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string povIdentifier(const std::string& name) {
    std::string identifier = name;
    for (char& c : identifier) {
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '_') {
            c = '_';
        }
    }
    if (identifier.empty() || isAsciiDigit(identifier.front())) {
        identifier.insert(0, kPrefix);
    }
    // "spline" becomes "b_spline", itself a reserved word.
    while (isPovReservedWord(identifier)) {
        identifier.insert(0, kPrefix);
    }
    identifier.resize(std::min(identifier.size(), kMaxIdentifierLength));
    return identifier;
}

std::string PovIdentifierTable::declare(const std::string& name) {
    std::string identifier = povIdentifier(name);
    if (taken_.insert(identifier).second) {
        return identifier;
    }
    for (unsigned counter = 0;; ++counter) {
        std::string suffix = std::to_string(counter);
        std::string candidate = identifier.substr(0, kMaxIdentifierLength - suffix.size()) + suffix;
        // A suffix can spell a reserved word ("spiral" + "1").
        if (!isPovReservedWord(candidate) && taken_.insert(candidate).second) {
            return candidate;
        }
    }
}

}  // namespace verada
