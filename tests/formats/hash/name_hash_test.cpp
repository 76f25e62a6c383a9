#include "formats/hash/name_hash.h"

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/support/test_paths.h"

namespace verada {
namespace {

struct HashCase {
    const char* text;
    std::uint32_t hash;
};

TEST(NameHash, KnownValues) {
    const HashCase cases[] = {
        {"abc", 0x439C2F4Bu},  {"ABC", 0x439C2F4Bu},     {"", 0x811C9DC5u},
        {"\xE9", 0xFAF3A2F6u},  // sign-extended XOR; plain FNV-1 would give 0x050C5DF6
        {"\xC9", 0xFAF3A2D6u},  // only A to Z are lower-cased, so this is not the hash of 0xE9
        {"[", 0x050C5D44u},     // the neighbours of A..Z stay as they are
        {"@", 0x050C5D5Fu},    {"SimSkin", 0x548394B9u},
    };
    for (const HashCase& c : cases) {
        EXPECT_EQ(nameHash(c.text), c.hash) << '"' << c.text << '"';
    }
}

TEST(NameHash, SporeRegistryPairs) {
    std::ifstream in(test::samplePath("hash/verified_pairs.derived.tsv"));
    ASSERT_TRUE(in) << "missing hash/verified_pairs.derived.tsv";
    std::string line;
    int pairs = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        std::string source, name, hashText;
        ASSERT_TRUE(std::getline(fields, source, '\t') && std::getline(fields, name, '\t') &&
                    std::getline(fields, hashText))
            << line;
        EXPECT_EQ(nameHash(name), std::stoul(hashText, nullptr, 16)) << name;
        ++pairs;
    }
    EXPECT_EQ(pairs, 891);
}

TEST(NameHash, Sims3HashMap) {
    std::ifstream in(test::samplePath("hash/sims3_fnv_hashmap.json"));
    ASSERT_TRUE(in) << "missing hash/sims3_fnv_hashmap.json";
    nlohmann::json groups = nlohmann::json::parse(in);
    int pairs = 0;
    for (const auto& group : groups.items()) {
        for (const auto& entry : group.value().items()) {
            std::string name = entry.value().get<std::string>();
            EXPECT_EQ(nameHash(name), std::stoul(entry.key(), nullptr, 16)) << name;
            ++pairs;
        }
    }
    EXPECT_EQ(pairs, 434);
}

}  // namespace
}  // namespace verada
