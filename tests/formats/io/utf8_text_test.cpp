#include "formats/io/utf8_text.h"

#include <string>

#include <gtest/gtest.h>

namespace verada {
namespace {

TEST(Utf8Text, WellFormedSequencesStayAndEveryOtherByteIsLatin1) {
    struct Case {
        std::string bytes;
        std::string utf8;
        std::string printable;  // printableText with nothing kept
    };
    const Case cases[] = {
        {"plain", "plain", "plain"},
        {"caf\xC3\xA9", "caf\xC3\xA9", "caf\xC3\xA9"},
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
        {"caf\xE9", "caf\xC3\xA9", "caf\xC3\xA9"},
        // A fixed-width name field that cuts a character in half.
        {"caf\xC3", "caf\xC3\x83", "caf\xC3\x83"},
        // Overlong forms and surrogates are no UTF-8.
        {"\xC0\xAF", "\xC3\x80\xC2\xAF", "\xC3\x80\xC2\xAF"},
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80", "\xC3\xAD\xC2\xA0\\x80"},
        // Each byte on its own: the valid character beside a stray byte stays.
        {"\xC3\xA9\xFF", "\xC3\xA9\xC3\xBF", "\xC3\xA9\xC3\xBF"},
        // Control characters: C0, DEL, C1 as a stray byte and as UTF-8.
        {std::string("te\xFF\x1B[2Jot\0\r\n", 12), std::string("te\xC3\xBF\x1B[2Jot\0\r\n", 13),
         "te\xC3\xBF\\x1B[2Jot\\x00\\x0D\\x0A"},
        {"\x7F\x9B\xC2\x9B", "\x7F\xC2\x9B\xC2\x9B", "\\x7F\\x9B\\xC2\\x9B"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(asUtf8(c.bytes), c.utf8) << c.bytes;
        EXPECT_EQ(printableText(c.bytes), c.printable) << c.bytes;
    }
    EXPECT_EQ(printableText("a\tb\r\nc\x07", "\t\n"), "a\tb\\x0D\nc\\x07");
}

}  // namespace
}  // namespace verada
