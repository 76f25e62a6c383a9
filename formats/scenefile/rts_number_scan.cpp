#include "formats/scenefile/rts_number_scan.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace verada {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Skips the blanks and the plus sign that scanf takes before a number and from_chars does not.
const char* numberStart(const char* p, const char* end) {
    while (p != end && isSpace(*p)) {
        ++p;
    }
    if (p != end && *p == '+' && end - p > 1 && p[1] != '-' && p[1] != '+') {
        ++p;
    }
    return p;
}

template <typename T, typename Parse>
std::size_t scan(std::string_view text, T* values, std::size_t count, Parse parse) {
    const char* p = text.data();
    const char* end = text.data() + text.size();
    std::size_t scanned = 0;
    while (scanned < count) {
        T value{};
        std::from_chars_result result = parse(numberStart(p, end), end, value);
        if (result.ec != std::errc()) {
            break;
        }
        values[scanned++] = value;
        p = result.ptr;
    }
    return scanned;
}

}  // namespace

std::size_t scanReals(std::string_view text, float* values, std::size_t count) {
    return scan(text, values, count, [](const char* p, const char* end, float& value) {
        std::from_chars_result result = std::from_chars(p, end, value);
        if (result.ec == std::errc() && !std::isfinite(value)) {
            result.ec = std::errc::invalid_argument;
        }
        return result;
    });
}

std::size_t scanIntegers(std::string_view text, long long* values, std::size_t count) {
    return scan(text, values, count, [](const char* p, const char* end, long long& value) {
        return std::from_chars(p, end, value);
    });
}

}  // namespace verada
