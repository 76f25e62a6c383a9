#include "formats/config/profile.h"

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

namespace verada {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(IniProfile, ReadsWithPrivateProfileSemantics) {
    TempDir dir;
    writeFile(dir / "a.ini",
              "; comment=1\r\n[Scene]\r\n  Alpha =  one two  \r\nQuoted=\"  spaced \"\r\n"
              "Single='x'\r\nHalf=\"open\r\nalpha=second\r\n[scene]\r\nBeta=hidden\r\n"
              "[Other]\nBeta=lf line\nNum=-42abc\nPlus=+7\nNoDigits=abc\n");
    IniProfile profile = IniProfile::load((dir / "a.ini").string());

    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"SCENE", "alpha", "one two"},     // case-insensitive, trimmed, first key wins
        {"Scene", "Quoted", "  spaced "},  // enclosing quotes go, inner blanks stay
        {"Scene", "Single", "x"},         {"Scene", "Half", "\"open"},
        {"Scene", "Beta", "dflt"},  // only the first matching section is searched
        {"other", "BETA", "lf line"},     {"Missing", "Alpha", "dflt"},
        {"Scene", "; comment", "dflt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(profile.readString(c.section, c.key, "dflt"), c.expected)
            << c.section << "/" << c.key;
    }
    EXPECT_EQ(profile.readString("Scene", "Alpha", "", 4), "one");
    EXPECT_EQ(profile.readInt("Other", "Num", 5), -42);
    EXPECT_EQ(profile.readInt("Other", "Plus", 5), 7);
    EXPECT_EQ(profile.readInt("Other", "NoDigits", 5), 0);
    EXPECT_EQ(profile.readInt("Other", "Absent", 5), 5);
}

TEST(IniProfile, WritesInPlaceAppendsAndKeepsTheRest) {
    TempDir dir;
    std::string path = (dir / "b.ini").string();
    writeFile(path, "; keep me\n[One]\nA=1\nB=2\n\n[Two]\nC=3\n");
    IniProfile profile = IniProfile::load(path);
    profile.writeString("one", "b", "20");
    profile.writeString("One", "New", "x");
    profile.writeString("Three", "D", "4");
    ASSERT_TRUE(profile.save());
    EXPECT_EQ(
        readFile(path),
        "; keep me\r\n[One]\r\nA=1\r\nb=20\r\nNew=x\r\n\r\n[Two]\r\nC=3\r\n[Three]\r\nD=4\r\n");

    IniProfile again = IniProfile::load(path);
    EXPECT_EQ(again.readString("Three", "d", ""), "4");
    EXPECT_EQ(again.readString("One", "B", ""), "20");
}

TEST(IniProfile, MissingFileIsEmptyAndSaveCreatesIt) {
    TempDir dir;
    std::string path = (dir / "new.cfg").string();
    IniProfile profile = IniProfile::load(path);
    EXPECT_EQ(profile.readString("S", "K", "default"), "default");
    profile.writeString("S", "K", "v");
    ASSERT_TRUE(profile.save());
    EXPECT_EQ(readFile(path), "[S]\r\nK=v\r\n");
}

TEST(IniProfile, SaveIntoMissingFolderFailsWithoutTouchingAnything) {
    TempDir dir;
    IniProfile profile = IniProfile::load((dir / "absent" / "x.cfg").string());
    profile.writeString("S", "K", "v");
    Status saved = profile.save();
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error(), "ERR: Unable to write " + (dir / "absent" / "x.cfg").string() + ".");
    EXPECT_FALSE(std::filesystem::exists(dir / "absent"));
}

TEST(IniProfile, SectionNamesRunToTheLastBracketAndCanMatchExactlyFirst) {
    TempDir dir;
    writeFile(dir / "c.ini",
              "[Mesh:part[2]]\nK=bracket\n[mesh:box]\nK=lower\n[Mesh:box]\nK=exact\n");
    IniProfile profile = IniProfile::load((dir / "c.ini").string());
    EXPECT_EQ(profile.readString("mesh:PART[2]", "k", ""), "bracket");
    EXPECT_EQ(profile.readString("Mesh:box", "K", ""), "lower");
    profile.matchExactSectionNamesFirst();
    EXPECT_EQ(profile.readString("Mesh:box", "K", ""), "exact");
    EXPECT_EQ(profile.readString("MESH:BOX", "K", ""), "lower");
}

}  // namespace
}  // namespace verada
