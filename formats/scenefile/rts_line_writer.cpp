#include "formats/scenefile/rts_line_writer.h"

#include <charconv>

namespace verada {
namespace {

constexpr std::size_t kNameLimit = 255;

}  // namespace

RtsLineWriter& RtsLineWriter::text(std::string_view text) {
    line_.append(text);
    return *this;
}

RtsLineWriter& RtsLineWriter::name(std::string_view name) {
    std::size_t start = line_.size();
    line_.append(name.substr(0, kNameLimit));
    for (std::size_t i = start; i < line_.size(); ++i) {
        if (line_[i] == '\r' || line_[i] == '\n') {
            line_[i] = '_';
        }
    }
    return *this;
}

RtsLineWriter& RtsLineWriter::integer(long long value) {
    char digits[24];
    std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value);
    line_.append(digits, result.ptr);
    return *this;
}

RtsLineWriter& RtsLineWriter::index(std::size_t value, std::size_t width) {
    char digits[24];
    std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value);
    std::size_t length = static_cast<std::size_t>(result.ptr - digits);
    if (length < width) {
        line_.append(width - length, '0');
    }
    line_.append(digits, result.ptr);
    return *this;
}

RtsLineWriter& RtsLineWriter::real(float value) {
    // A float widened to double has at most 39 integer digits.
    char digits[64];
    std::to_chars_result result = std::to_chars(
        digits, digits + sizeof digits, static_cast<double>(value), std::chars_format::fixed, 6);
    line_.append(digits, result.ptr);
    return *this;
}

RtsLineWriter& RtsLineWriter::reals(const float* values, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            line_.push_back(' ');
        }
        real(values[i]);
    }
    return *this;
}

void RtsLineWriter::end() {
    line_.append("\r\n");
    if (ok_) {
        ok_ = std::fwrite(line_.data(), 1, line_.size(), out_) == line_.size();
    }
    line_.clear();
}

bool RtsLineWriter::finish() {
    ok_ = std::fflush(out_) == 0 && ok_;
    return ok_;
}

}  // namespace verada
