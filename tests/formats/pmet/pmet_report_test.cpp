#include "formats/pmet/pmet_report.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

namespace verada {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

std::string be(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

// Text stored as little-endian 16-bit units, as the game writes it.
std::string units(const std::string& text) {
    std::string stored;
    for (char c : text) {
        stored += c;
        stored += '\0';
    }
    return stored;
}

std::string stringField(const std::string& text) {
    return be(static_cast<std::uint32_t>(text.size())) + units(text);
}

std::string tagField(const std::string& text) {
    return be(static_cast<std::uint32_t>(text.size())) + text;
}

struct PmetParts {
    std::uint32_t version = 10;
    std::string guid = "\x01\x23\x45\x67\x89\xAB\xCD\xEF";
    std::string creatureIds = be(0x11111111) + be(0x22222222) + be(0x33333333) + be(0x44444444) +
                              be(0x55555555) + be(0x66666666);
    std::string v10Quad = be(0xA0000001) + be(0xA0000002);
    std::string tid = be(0x0000BEEF) + be(0xCAFE0000);
    std::string tid2 = be(0xB0000001) + be(0xB0000002);
    std::string userId = be(1) + be(2) + be(0xFFFFFFFF);
    std::string strings =
        stringField("Dudoda") + stringField("Megamouth") + stringField("A big fish");
    std::string tags = be(2) + tagField("spore") + tagField("fish");
    std::string tgi = be(0x2B978C46) + be(0x40407500) + be(0x12345678);

    std::string bytes() const {
        bool v10 = version == 10;
        return be(version) + guid + creatureIds + (v10 ? v10Quad : "") + tid + (v10 ? tid2 : "") +
               userId + strings + tags + tgi;
    }
};

const std::string kHeading =
    "Alpha PMET contents parser\r\nYou should expect this to change in the future\r\n\r\n";

std::string parse(const std::string& bytes) {
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());  // its own allocation
    ByteReader input(copy.data(), copy.size());
    PmetRecord record;
    Status read = readPmetRecord(input, record);
    return read ? formatPmetReport(record) : read.error();
}

TEST(PmetReport, Version10) {
    PmetParts parts;
    EXPECT_EQ(parse(parts.bytes() + "trailing data is never read"),
              kHeading +
                  "Version =      10\r\n"
                  "GUID =         01 23 45 67 89 AB CD EF \r\n"
                  "Creature ID 1: 11111111 22222222 33333333\r\n"
                  "Creature ID 2: 44444444 55555555 66666666\r\n"
                  "v10quad:       A0000001 A0000002\r\n"
                  "tid:           0000BEEF CAFE0000\r\n"
                  "tid2:          B0000001 B0000002\r\n"
                  "User ID:       00000001 00000002 FFFFFFFF\r\n"
                  "User Name:     Dudoda\r\n"
                  "Creature Name: Megamouth\r\n"
                  "Comments:      A big fish\r\n"
                  "Tag count:     2\r\n"
                  "Tag01:         spore\r\n"
                  "Tag02:         fish\r\n"
                  "TGI 04:        2B978C46 40407500 12345678\r\n");
}

TEST(PmetReport, Version8HasNoVersion10Groups) {
    PmetParts parts;
    parts.version = 8;
    EXPECT_EQ(parts.bytes().size() + 16, PmetParts().bytes().size());
    EXPECT_EQ(parse(parts.bytes()), kHeading +
                                        "Version =      8\r\n"
                                        "GUID =         01 23 45 67 89 AB CD EF \r\n"
                                        "Creature ID 1: 11111111 22222222 33333333\r\n"
                                        "Creature ID 2: 44444444 55555555 66666666\r\n"
                                        "tid:           0000BEEF CAFE0000\r\n"
                                        "User ID:       00000001 00000002 FFFFFFFF\r\n"
                                        "User Name:     Dudoda\r\n"
                                        "Creature Name: Megamouth\r\n"
                                        "Comments:      A big fish\r\n"
                                        "Tag count:     2\r\n"
                                        "Tag01:         spore\r\n"
                                        "Tag02:         fish\r\n"
                                        "TGI 04:        2B978C46 40407500 12345678\r\n");
}

TEST(PmetReport, UnknownVersions) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {9, "ERR: Version 9 not known (only 8 and 10)."},
        {0, "ERR: Version 0 not known (only 8 and 10)."},
        {11, "ERR: Version 11 not known (only 8 and 10)."},
        {0xFFFFFFFF, "ERR: Version -1 not known (only 8 and 10)."},
    };
    for (const auto& [version, message] : cases) {
        PmetParts parts;
        parts.version = version;
        EXPECT_EQ(parse(parts.bytes()), message);
    }
}

TEST(PmetReport, StringLengthLimit) {
    const std::string longest(127, 'x');
    const std::string tooLong(128, 'x');
    const char* lines[] = {"User Name:     ", "Creature Name: ", "Comments:      "};
    for (int field = 0; field < 3; ++field) {
        std::string fields[3] = {stringField("a"), stringField("b"), stringField("c")};
        fields[field] = stringField(longest);
        PmetParts parts;
        parts.strings = fields[0] + fields[1] + fields[2];
        EXPECT_NE(parse(parts.bytes()).find(lines[field] + longest + "\r\n"), std::string::npos)
            << field;

        fields[field] = stringField(tooLong);
        parts.strings = fields[0] + fields[1] + fields[2];
        EXPECT_EQ(parse(parts.bytes()),
                  "ERR: Max string len exceeded. 128 bytes requested, 127 maximum.")
            << field;

        fields[field] = be(0xFFFFFFFF);
        parts.strings = fields[0] + fields[1] + fields[2];
        EXPECT_EQ(parse(parts.bytes()),
                  "ERR: Max string len exceeded. -1 bytes requested, 127 maximum.")
            << field;
    }
}

TEST(PmetReport, ShortStringReads) {
    const std::string cases[] = {
        "ERR: File read error on User Unicode string. 12 bytes requested, 5 read.",
        "ERR: File read error on Char Unicode string. 12 bytes requested, 5 read.",
        "ERR: File read error on Com Unicode string. 12 bytes requested, 5 read.",
    };
    for (int field = 0; field < 3; ++field) {
        PmetParts parts;
        std::string before = be(parts.version) + parts.guid + parts.creatureIds + parts.v10Quad +
                             parts.tid + parts.tid2 + parts.userId;
        for (int i = 0; i < field; ++i) {
            before += stringField("ok");
        }
        EXPECT_EQ(parse(before + be(6) + "12345"), cases[field]);
    }
}

TEST(PmetReport, OnlyTheFirstByteOfEachUnitIsPrinted) {
    struct Case {
        std::string stored;
        const char* printed;
    };
    const Case cases[] = {
        {be(2) + std::string("\0D\0u", 4), ""},  // big-endian units print empty
        {be(3) + std::string("A\x01"
                             "b\x02"
                             "c\x03",
                             6),
         "Abc"},
        {be(3) + std::string("A\0\0\0c\0", 6), "A"},  // a zero unit ends the text
        {be(0), ""},
    };
    for (const Case& c : cases) {
        PmetParts parts;
        parts.strings = c.stored + stringField("") + stringField("");
        EXPECT_NE(parse(parts.bytes())
                      .find(std::string("User Name:     ") + c.printed + "\r\nCreature Name: \r\n"),
                  std::string::npos)
            << c.printed;
    }
}

TEST(PmetReport, TagLimits) {
    PmetParts parts;
    std::string expectedTags = "Tag count:     32\r\n";
    parts.tags = be(32);
    for (int tag = 1; tag <= 32; ++tag) {
        std::string text(127, static_cast<char>('A' + tag % 26));
        parts.tags += tagField(text);
        expectedTags += "Tag" + std::string(tag < 10 ? "0" : "") + std::to_string(tag) +
                        ":         " + text + "\r\n";
    }
    std::string report = parse(parts.bytes());
    EXPECT_NE(report.find(expectedTags + "TGI 04:"), std::string::npos);

    const std::pair<std::string, const char*> errors[] = {
        {be(33), "ERR: Max tag string count exceeded. 33 specified, 32 maximum."},
        {be(0xFFFFFFFF), "ERR: Max tag string count exceeded. -1 specified, 32 maximum."},
        {be(1) + be(128) + std::string(128, 'x'),
         "ERR: Max tag string length exceeded. 128 specified, 127 maximum."},
        {be(2) + tagField("fine") + be(9) + "short",
         "ERR: File read error on Tag string. 9 bytes requested, 5 read."},
    };
    for (const auto& [tags, message] : errors) {
        std::string bytes = PmetParts().bytes();
        bytes = bytes.substr(0, bytes.size() - PmetParts().tags.size() - 12) + tags;
        EXPECT_EQ(parse(bytes), message);
    }

    parts.tags = be(0);
    EXPECT_NE(parse(parts.bytes()).find("Tag count:     0\r\nTGI 04:"), std::string::npos);

    parts.tags = be(2) + tagField(std::string("ab\0cd", 5)) + tagField("");
    EXPECT_NE(parse(parts.bytes()).find("Tag01:         ab\r\nTag02:         \r\n"),
              std::string::npos);
}

TEST(PmetReport, ShortGuidAndTgi) {
    EXPECT_EQ(parse(be(10) + "12345"),
              "ERR: File read error on GUID data. 8 bytes requested, 5 read.");
    EXPECT_EQ(parse(be(8)), "ERR: File read error on GUID data. 8 bytes requested, 0 read.");
    std::string whole = PmetParts().bytes();
    for (std::size_t cut : {1, 4, 5, 11, 12}) {
        EXPECT_EQ(parse(whole.substr(0, whole.size() - cut)), "ERR: File Read Error") << cut;
    }
}

TEST(PmetReport, EveryTruncationIsAnError) {
    for (std::uint32_t version : {8u, 10u}) {
        PmetParts parts;
        parts.version = version;
        std::string whole = parts.bytes();
        for (std::size_t size = 0; size < whole.size(); ++size) {
            std::string result = parse(whole.substr(0, size));
            EXPECT_EQ(result.rfind("ERR: ", 0), 0u) << version << " " << size << ": " << result;
        }
    }
}

TEST(PmetReport, FilesAndReportNames) {
    TempDir dir;
    std::filesystem::current_path(dir.path());
    writeFile("creature.pmet", PmetParts().bytes());
    Result<PmetReportFile> written = writePmetReportFile("creature.pmet");
    ASSERT_TRUE(written) << written.error();
    EXPECT_EQ(written->path, "creature.txt");
    EXPECT_EQ(written->report.value(), parse(PmetParts().bytes()));
    EXPECT_EQ(readFile("creature.txt"), written->report.value());

    // A file that cannot be read gets its error written in place of the report.
    written = writePmetReportFile("missing.pmet");
    ASSERT_TRUE(written) << written.error();
    EXPECT_EQ(written->report.error(), "ERR: File missing.pmet not able to be opened.");
    EXPECT_EQ(readFile("missing.txt"), "ERR: File missing.pmet not able to be opened.");

    std::filesystem::create_directory("blocked.txt");
    writeFile("blocked.pmet", PmetParts().bytes());
    written = writePmetReportFile("blocked.pmet");
    EXPECT_EQ(written.error(), "Unable to create .txt file.");
    EXPECT_EQ(written.failedOutput(), "blocked.txt");

    const std::pair<const char*, const char*> names[] = {
        {"creature.pmet", "creature.txt"},
        {"dir.v2/creature.PMET", "dir.v2/creature.txt"},
        {"dir.v2/creature", "dir.v2/creature.txt"},
        {"a.b.pmet", "a.b.txt"},
    };
    for (const auto& [input, output] : names) {
        EXPECT_EQ(pmetReportName(input), output);
    }
}

}  // namespace
}  // namespace verada
