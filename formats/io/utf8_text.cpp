#include "formats/io/utf8_text.h"

#include <cstdio>

namespace verada {
namespace {

// The length of the well-formed UTF-8 sequence at text[i], 0 when there is none.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() - i < length || byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

void appendEscaped(std::string& out, std::string_view bytes) {
    for (const char c : bytes) {
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
        out += escaped;
    }
}

// One pass for both forms: with escaping off, nothing is escaped.
std::string convert(std::string_view bytes, bool escaping, std::string_view kept) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = sequenceLength(bytes, i);
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (length == 0) {
            // Latin-1: the byte is the code point; 0x80 to 0x9F are the C1 controls.
            if (escaping && lead < 0xA0) {
                appendEscaped(out, bytes.substr(i, 1));
            } else {
                out += static_cast<char>(0xC0 | (lead >> 6));
                out += static_cast<char>(0x80 | (lead & 0x3F));
            }
            ++i;
            continue;
        }
        const bool control =
            (length == 1 && (lead < 0x20 || lead == 0x7F) && kept.find(bytes[i]) == kept.npos) ||
            (length == 2 && lead == 0xC2 && static_cast<unsigned char>(bytes[i + 1]) < 0xA0);
        if (escaping && control) {
            appendEscaped(out, bytes.substr(i, length));
        } else {
            out.append(bytes.substr(i, length));
        }
        i += length;
    }
    return out;
}

}  // namespace

std::string asUtf8(std::string_view bytes) {
    return convert(bytes, false, {});
}

std::string printableText(std::string_view bytes, std::string_view kept) {
    return convert(bytes, true, kept);
}

}  // namespace verada
