#include "formats/package/archive_packer.h"

#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/package/archive_unpacker.h"
#include "tests/formats/package/qfs_sample_data.h"
#include "tests/formats/package/rellabels_streams.h"
#include "tests/support/result_text.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

namespace fs = std::filesystem;
using test::sampleLe32;

TEST(PackArchive, ThreeFilesGiveTheDocumentedLayout) {
    test::TempDir dir;
    fs::create_directory(dir / "src");
    // Written in another order than their names, which the package follows.
    test::writeFile(dir / "src" / "KL-NOTE-2B6CAB5F-00000000-00000003.txt", "fghij");
    test::writeFile(dir / "src" / "KL-NOTE-2B6CAB5F-00000000-00000002.txt", "");
    test::writeFile(dir / "src" / "KL-GMDL-00E6BCE5-00000001-00000002.gmdl", "0123456789");
    test::writeFile(dir / "src" / "notes.txt", "not an item");
    test::writeFile(dir / "src" / "KL-without-dot", "not an item either");

    std::uint64_t lastDone = 0, lastTotal = 0;
    ASSERT_EQ(test::errorOf(packArchive((dir / "src").string(), (dir / "out.package").string(),
                                        [&](std::uint64_t done, std::uint64_t total) {
                                            lastDone = done;
                                            lastTotal = total;
                                        })),
              std::nullopt);
    EXPECT_EQ(lastDone, 15u);
    EXPECT_EQ(lastTotal, 15u);

    const std::string package = test::readFile(dir / "out.package");
    ASSERT_EQ(package.size(), 96u + 15 + 92);
    EXPECT_EQ(package.substr(0, 4), "DBPF");
    EXPECT_EQ(sampleLe32(package, 4), 2u);
    EXPECT_EQ(sampleLe32(package, 36), 3u);
    EXPECT_EQ(sampleLe32(package, 44), 92u);
    EXPECT_EQ(sampleLe32(package, 60), 3u);
    EXPECT_EQ(sampleLe32(package, 64), 111u);
    for (std::size_t at : {8, 40, 48, 68, 92}) {
        EXPECT_EQ(sampleLe32(package, at), 0u) << at;
    }
    EXPECT_EQ(package.substr(96, 15), "0123456789fghij");
    EXPECT_EQ(sampleLe32(package, 111), 4u);
    EXPECT_EQ(sampleLe32(package, 115), 0u);

    struct Entry {
        std::uint32_t a, b, c, offset, size, memorySize, flags;
    };
    const std::vector<Entry> expected = {
        {0x00E6BCE5, 1, 2, 96, 0x8000000A, 10, 0x00010000},
        {0x2B6CAB5F, 0, 2, 106, 0x80000000, 0, 0x00010000},
        {0x2B6CAB5F, 0, 3, 106, 0x80000005, 5, 0x00010000},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::size_t at = 119 + 28 * i;
        const Entry& e = expected[i];
        EXPECT_EQ(sampleLe32(package, at), e.a) << i;
        EXPECT_EQ(sampleLe32(package, at + 4), e.b) << i;
        EXPECT_EQ(sampleLe32(package, at + 8), e.c) << i;
        EXPECT_EQ(sampleLe32(package, at + 12), e.offset) << i;
        EXPECT_EQ(sampleLe32(package, at + 16), e.size) << i;
        EXPECT_EQ(sampleLe32(package, at + 20), e.memorySize) << i;
        EXPECT_EQ(sampleLe32(package, at + 24), e.flags) << i;
    }
    EXPECT_EQ(test::namesIn(dir.path()), (std::set<std::string>{"out.package", "src"}));
}

TEST(PackArchive, PackThenUnpackGivesBackTheSameFiles) {
    test::TempDir dir;
    // A real package's items, plus files of every size class and a few more types.
    test::writeFile(dir / "real.package",
                    test::readFile(test::samplePath(
                        "package/spore-smfx/Valla_CreaturePartUnlocking_Cell.package")));
    ASSERT_TRUE(unpackArchive((dir / "real.package").string()).ok());
    const fs::path source = dir / "real";
    std::string bytes;
    for (int i = 0; i < 70000; ++i) {
        bytes.push_back(static_cast<char>(i * 31 % 256));
    }
    test::writeFile(source / "KL-GMDL-00E6BCE5-00000001-00000002.gmdl", bytes);
    test::writeFile(source / "KL-UNKN-DEADBEEF-FFFFFFFF-00000000.bnry", "x");
    test::writeFile(source / "KL-_PNG-2F7D0004-00000001-00000002.png", "");
    const std::set<std::string> names = test::namesIn(source);

    ASSERT_EQ(test::errorOf(packArchive(source.string(), (dir / "repacked.package").string())),
              std::nullopt);
    Result<std::string> result = unpackArchive((dir / "repacked.package").string());
    ASSERT_TRUE(result.ok()) << test::shown(result);
    std::set<std::string> back = test::namesIn(dir / "repacked");
    std::set<std::string> nonEmpty;
    for (const std::string& name : names) {
        if (fs::file_size(source / name) > 0) {
            nonEmpty.insert(name);
        }
    }
    EXPECT_EQ(back, nonEmpty);  // an empty item is stored with size 0 and gives no file
    for (const std::string& name : back) {
        EXPECT_TRUE(test::readFile(dir / "repacked" / name) == test::readFile(source / name))
            << name;
    }

    // Name order makes the package reproducible.
    ASSERT_EQ(test::errorOf(packArchive(source.string(), (dir / "again.package").string())),
              std::nullopt);
    EXPECT_TRUE(test::readFile(dir / "again.package") == test::readFile(dir / "repacked.package"));
}

TEST(PackArchive, NameErrors) {
    const std::string at47 = "KL-GMDL-00E6BCE5-00000001-00000002.gmdl45678901";
    ASSERT_EQ(at47.size(), 47u);
    struct Case {
        std::string name;
        std::optional<std::string> error;
    };
    const std::vector<Case> cases = {
        {at47, std::nullopt},
        {at47 + "2", "ERR: Found filename length 48 exceeds 48 buffer size."},
        {"KL-GMDL-00e6bce5-0000000a-00000002.gmdl", std::nullopt},
        {"KL-GMDL-00E6BCE5-0000000G-00000002.gmdl",
         "ERR: File name KL-GMDL-00E6BCE5-0000000G-00000002.gmdl lacks hexadecimal type, group "
         "and instance ids at positions 8, 17 and 26."},
        {"KL-GMD-00E6BCE5-00000001-00000002.gmdl",
         "ERR: File name KL-GMD-00E6BCE5-00000001-00000002.gmdl lacks hexadecimal type, group "
         "and instance ids at positions 8, 17 and 26."},
        {"KL-x.txt",
         "ERR: File name KL-x.txt lacks hexadecimal type, group and instance ids at positions 8, "
         "17 and 26."},
        {"KL-GMDL- 0E6BCE5-00000001-00000002.gmdl",
         "ERR: File name KL-GMDL- 0E6BCE5-00000001-00000002.gmdl lacks hexadecimal type, group "
         "and instance ids at positions 8, 17 and 26."},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        fs::create_directory(dir / "src");
        test::writeFile(dir / "src" / c.name, "data");
        EXPECT_EQ(
            test::errorOf(packArchive((dir / "src").string(), (dir / "out.package").string())),
            c.error)
            << c.name;
        EXPECT_EQ(fs::exists(dir / "out.package"), !c.error) << c.name;
    }
}

TEST(PackArchive, NothingToPack) {
    test::TempDir dir;
    fs::create_directory(dir / "src");
    test::writeFile(dir / "src" / "readme.txt", "no items here");
    const std::string noMatch = "ERR: 00000002 No such file or directory on FindFirstFile().";
    EXPECT_EQ(test::errorOf(packArchive((dir / "src").string(), (dir / "out.package").string())),
              noMatch);
    EXPECT_EQ(test::errorOf(packArchive((dir / "none").string(), (dir / "out.package").string())),
              noMatch);
    EXPECT_FALSE(fs::exists(dir / "out.package"));
}

TEST(PackArchive, MoreThanTenThousandFilesAreRefused) {
    test::TempDir dir;
    fs::create_directory(dir / "src");
    char name[64];
    for (int i = 0; i < 10000; ++i) {
        std::snprintf(name, sizeof name, "KL-UNKN-00000001-00000002-%08X.bnry", i);
        test::writeFile(dir / "src" / name, "");
    }
    ASSERT_EQ(test::errorOf(packArchive((dir / "src").string(), (dir / "full.package").string())),
              std::nullopt);
    EXPECT_EQ(sampleLe32(test::readFile(dir / "full.package"), 36), 10000u);

    test::writeFile(dir / "src" / "KL-UNKN-00000001-00000002-FFFFFFFF.bnry", "");
    EXPECT_EQ(test::errorOf(packArchive((dir / "src").string(), (dir / "over.package").string())),
              "ERR: Found 10001 files matching KL-*.*, more than the 10000 a package holds.");
    EXPECT_FALSE(fs::exists(dir / "over.package"));
}

// Sparse files: their length counts without taking disk space.
TEST(PackArchive, SizeLimits) {
    test::TempDir dir;
    fs::create_directory(dir / "big");
    test::writeFile(dir / "big" / "KL-UNKN-00000001-00000002-00000003.bnry", "");
    fs::resize_file(dir / "big" / "KL-UNKN-00000001-00000002-00000003.bnry", 0x80000000u);
    EXPECT_EQ(test::errorOf(packArchive((dir / "big").string(), (dir / "out.package").string())),
              "ERR: File length exceeds 2 GB size.");

    fs::create_directory(dir / "many");
    for (int i = 0; i < 3; ++i) {
        const fs::path path =
            dir / "many" / ("KL-UNKN-00000001-00000002-0000000" + std::to_string(i) + ".bnry");
        test::writeFile(path, "");
        fs::resize_file(path, 0x7FFFFFFFu);
    }
    EXPECT_EQ(test::errorOf(packArchive((dir / "many").string(), (dir / "out.package").string())),
              "ERR: Package would be 6442451129 bytes, more than the 4 GB a DBPF file holds.");
    EXPECT_FALSE(fs::exists(dir / "out.package"));
}

TEST(PackArchive, AFailedPackLeavesAnExistingPackageAlone) {
    test::TempDir dir;
    fs::create_directory(dir / "src");
    test::writeFile(dir / "src" / "KL-NOTE-2B6CAB5F-00000000-00000001.txt", "fine");
    // A folder matches the search but cannot be read as an item, after the header is written.
    fs::create_directory(dir / "src" / "KL-NOTE-2B6CAB5F-00000000-00000002.txt");
    test::writeFile(dir / "game.package", "the old package");

    EXPECT_EQ(test::errorOf(packArchive((dir / "src").string(), (dir / "game.package").string())),
              "ERR: Unable to open file KL-NOTE-2B6CAB5F-00000000-00000002.txt for read.");
    EXPECT_EQ(test::readFile(dir / "game.package"), "the old package");
    EXPECT_EQ(test::namesIn(dir.path()), (std::set<std::string>{"game.package", "src"}));

    const std::string unwritable = (dir / "no-folder" / "x.package").string();
    fs::remove_all(dir / "src" / "KL-NOTE-2B6CAB5F-00000000-00000002.txt");
    EXPECT_EQ(test::errorOf(packArchive((dir / "src").string(), unwritable)),
              "ERR: Unable to open file " + unwritable + " for write.");

    ASSERT_EQ(test::errorOf(packArchive((dir / "src").string(), (dir / "game.package").string())),
              std::nullopt);
    EXPECT_EQ(sampleLe32(test::readFile(dir / "game.package"), 36), 1u);
}

// Compressed packing: every item that shrinks is stored as a QFS stream and marked so in its
// entry, the rest as they are; unpacking gives back every file.
TEST(PackArchive, CompressedItemsShrinkAndUnpackToTheSameFiles) {
    test::TempDir dir;
    const fs::path source = dir / "src";
    fs::create_directory(source);
    std::mt19937 random(21);
    // In name order, as the package holds them.
    const std::map<std::string, std::string> files = {
        {"KL-_XML-CF6C21B8-00000001-00000001.xml", test::textData(300000, random)},
        {"KL-GMDL-00E6BCE5-00000001-00000002.gmdl", test::binaryData(100000, random)},
        {"KL-UNKN-DEADBEEF-00000001-00000003.bnry", test::randomData(5000, random)},
        {"KL-NOTE-2B6CAB5F-00000001-00000004.txt", "tiny"},
        {"KL-NOTE-2B6CAB5F-00000001-00000005.txt", ""},
    };
    for (const auto& [name, bytes] : files) {
        test::writeFile(source / name, bytes);
    }
    ASSERT_TRUE(packArchive(source.string(), (dir / "plain.package").string()));
    ASSERT_TRUE(packArchive(source.string(), (dir / "small.package").string(), {},
                            ItemStorage::CompressedWhenSmaller));

    const std::string plain = test::readFile(dir / "plain.package");
    const std::string small = test::readFile(dir / "small.package");
    EXPECT_LT(small.size() * 2, plain.size());

    const std::uint32_t indexOffset = sampleLe32(small, 64);
    ASSERT_EQ(sampleLe32(small, 44), 8u + 28 * files.size());
    std::uint32_t expectedOffset = 96;
    std::size_t entry = indexOffset + 8;
    for (const auto& [name, bytes] : files) {
        const std::uint32_t stored = sampleLe32(small, entry + 16);
        // The noise, four bytes and nothing do not shrink.
        const bool compressed = bytes.size() >= 100000;
        EXPECT_EQ(sampleLe32(small, entry + 12), expectedOffset) << name;
        EXPECT_EQ(stored >> 31, 1u);
        EXPECT_EQ(sampleLe32(small, entry + 20), bytes.size()) << name;
        EXPECT_EQ(sampleLe32(small, entry + 24), compressed ? 0x0001FFFFu : 0x00010000u) << name;
        EXPECT_EQ((stored & 0x7FFFFFFF) < bytes.size(), compressed) << name;
        if (!compressed) {
            EXPECT_TRUE(small.substr(expectedOffset, bytes.size()) == bytes) << name;
        }
        expectedOffset += stored & 0x7FFFFFFF;
        entry += 28;
    }
    EXPECT_EQ(expectedOffset, indexOffset);

    Result<std::string> unpacked = unpackArchive((dir / "small.package").string());
    ASSERT_TRUE(unpacked.ok()) << test::shown(unpacked);
    EXPECT_EQ(test::namesIn(dir / "small").size(), files.size() - 1);  // the empty one gives none
    for (const auto& [name, bytes] : files) {
        if (!bytes.empty()) {
            EXPECT_TRUE(test::readFile(dir / "small" / name) == bytes) << name;
        }
    }
}

}  // namespace
}  // namespace verada
