#include "formats/export/pov_identifiers.h"

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/export/pov_reserved_words.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

TEST(PovIdentifiers, NamesPovRayRefusesAreMadeValid) {
    const std::string longName(300, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"BaseWhite", "BaseWhite"},
        {"body_01_GroupIndex00", "body_01_GroupIndex00"},
        {"_under", "_under"},
        {"Red", "Red"},
        {"body.01_Eye-Left", "body_01_Eye_Left"},
        {"Ogre/Skin", "Ogre_Skin"},
        {"1 - Default", "b_1___Default"},
        {"Material #25", "Material__25"},
        {"caf\xC3\xA9", "caf__"},
        {"red", "b_red"},
        {"background", "b_background"},
        {"spline", "b_b_spline"},
        {"b_spline", "b_b_spline"},
        {"", "b_"},
        {longName, std::string(255, 'x')},
        {"9" + longName, "b_9" + std::string(252, 'x')},
    };
    for (const auto& [name, identifier] : cases) {
        EXPECT_EQ(povIdentifier(name), identifier) << name;
    }
}

TEST(PovIdentifiers, LaterNamesMeetingAnIdentifierTakeTheFirstFreeCounter) {
    const std::string longName(300, 'y');
    const std::vector<std::pair<std::string, std::string>> declarations = {
        {"a.b", "a_b"},
        {"a b", "a_b0"},
        {"a_b0", "a_b00"},
        {"a-b", "a_b1"},
        {"a_b", "a_b2"},
        {"spiral", "spiral"},
        {"spiral", "spiral0"},
        // "spiral1" and "spiral2" are reserved words.
        {"spiral", "spiral3"},
        {longName, std::string(255, 'y')},
        {longName + "z", std::string(254, 'y') + "0"},
        {"spline", "b_b_spline"},
        {"b_spline", "b_b_spline0"},
    };
    PovIdentifierTable table;
    for (const auto& [name, identifier] : declarations) {
        EXPECT_EQ(table.declare(name), identifier) << name;
    }
}

// The reserved words are checked against the keyword list of POV-Ray's own reference
// (Debian's povray-doc).
TEST(PovIdentifiers, ReservedWordsAreThoseOfThePovRayReference) {
    const std::filesystem::path reference = "/usr/share/doc/povray/html/r3_3.html";
    ASSERT_TRUE(std::filesystem::exists(reference)) << "povray-doc is not installed";
    const std::string html = test::readFile(reference);
    const std::size_t start = html.find("id=\"r3_3_1_2\"");
    const std::size_t end = html.find("id=\"r3_3_1_3\"");
    ASSERT_NE(start, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    const std::string section = html.substr(start, end - start);
    static const std::regex keyword(R"(<code><a [^>]*>([a-z0-9_]+)</a></code>)");
    std::set<std::string> words;
    for (auto it = std::sregex_iterator(section.begin(), section.end(), keyword);
         it != std::sregex_iterator(); ++it) {
        words.insert((*it)[1]);
    }
    EXPECT_EQ(words.size(), 498u);
    for (const std::string& word : words) {
        EXPECT_TRUE(isPovReservedWord(word)) << word;
        EXPECT_FALSE(isPovReservedWord(word + "_")) << word;
    }
    EXPECT_FALSE(isPovReservedWord("Red"));
    EXPECT_FALSE(isPovReservedWord(""));
}

}  // namespace
}  // namespace verada
