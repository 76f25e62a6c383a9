#include "formats/package/archive_unpacker.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "tests/formats/package/package_builder.h"
#include "tests/formats/package/rellabels_streams.h"
#include "tests/support/result_text.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

namespace fs = std::filesystem;
using test::TestItem;
using test::TestPackage;

const std::string kWorkedStream(
    "\x10\xFB\x00\x00\x09\x0F\x02"
    "abc\xFC",
    11);

// Writes the package into a fresh folder and unpacks it there.
struct Unpacked {
    Result<std::string> result;
    fs::path folder;
};

Unpacked unpackBytes(const test::TempDir& dir, const std::string& bytes,
                     const std::string& name = "items.package") {
    test::writeFile(dir / name, bytes);
    Unpacked unpacked;
    unpacked.result = unpackArchive((dir / name).string());
    unpacked.folder = dir / fs::path(name).stem();
    return unpacked;
}

std::string report(const fs::path& package, int count) {
    return package.string() + " unpacked\r\nNo errors.\r\n" + std::to_string(count) +
           " index items found";
}

TEST(UnpackArchive, RealSporePackagesGiveTheBytesAtTheirIndexOffsets) {
    struct Case {
        std::string file;
        std::uint32_t count;
        std::size_t distinctItems;
        std::string someName;
    };
    const std::vector<Case> cases = {
        {"Valla_CreaturePartUnlocking_Cell.package", 12, 12,
         "KL-_PNG-2F7D0004-100D977C-3197668C.png"},
        {"MasterOfTime-Interlude-foundation.package", 4, 4,
         "KL-UNKN-06EFC6AA-00000000-195B5F2C.bnry"},
        {"Project_0.package", 2, 1, "KL-NOTE-2B6CAB5F-9C9059AE-CC2F616F.txt"},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        const std::string package =
            test::readFile(test::samplePath("package/spore-smfx/" + c.file));
        Unpacked unpacked = unpackBytes(dir, package, c.file);
        ASSERT_TRUE(unpacked.result.ok()) << test::shown(unpacked.result);
        EXPECT_EQ(test::shown(unpacked.result), report(dir / c.file, static_cast<int>(c.count)));

        // Walk the index here: version 3, type 4, 28-byte entries; the last of equal ids wins.
        ASSERT_EQ(test::sampleLe32(package, 4), 3u);
        ASSERT_EQ(test::sampleLe32(package, 36), c.count);
        const std::uint32_t indexOffset = test::sampleLe32(package, 64);
        ASSERT_EQ(test::sampleLe32(package, indexOffset), 4u);
        std::map<std::string, std::string> expected;
        for (std::uint32_t i = 0; i < c.count; ++i) {
            const std::size_t entry = indexOffset + 8 + 28 * static_cast<std::size_t>(i);
            const std::uint32_t typeId = test::sampleLe32(package, entry);
            const std::uint32_t offset = test::sampleLe32(package, entry + 12);
            const std::uint32_t size = test::sampleLe32(package, entry + 16) & 0x7FFFFFFF;
            if (size == 0) {
                continue;  // Project_0 has such an entry: it gives no file
            }
            expected[itemFileName(typeId, test::sampleLe32(package, entry + 4),
                                  test::sampleLe32(package, entry + 8))] =
                package.substr(offset, size);
        }
        EXPECT_EQ(expected.size(), c.distinctItems);
        EXPECT_EQ(expected.count(c.someName), 1u) << c.file;
        EXPECT_EQ(test::namesIn(unpacked.folder).size(), c.distinctItems);
        for (const auto& [name, bytes] : expected) {
            EXPECT_TRUE(test::readFile(unpacked.folder / name) == bytes) << c.file << " " << name;
        }
    }
}

TEST(TypeIdToName, KnownAndUnknownIds) {
    const std::vector<std::tuple<std::uint32_t, std::string, std::string>> cases = {
        {0x00B1B104, "PROP", "prop"}, {0x00E6BCE5, "GMDL", "gmdl"}, {0x02393756, "CRSR", "cur"},
        {0x3F9C28B5, "CRSR", "cur"},  {0x0376C3DA, "__HM", "hm"},   {0x617715C4, "PYTH", "py"},
        {0x2F7D0004, "_PNG", "png"},  {0xEFBDA3FF, "LAYO", "bnry"}, {0x030BDEE3, "PMET", "pmet"},
        {0x00000000, "UNKN", "bnry"}, {0xFFFFFFFF, "UNKN", "bnry"}, {0x2F7D0003, "UNKN", "bnry"},
    };
    for (const auto& [typeId, name, extension] : cases) {
        TypeIdName result = typeIdToName(typeId);
        EXPECT_EQ(result.name, name) << std::hex << typeId;
        EXPECT_EQ(result.extension, extension) << std::hex << typeId;
    }
    EXPECT_EQ(itemFileName(0x00E6BCE5, 1, 2), "KL-GMDL-00E6BCE5-00000001-00000002.gmdl");
    EXPECT_EQ(itemFileName(0x2F7D0004, 1, 2), "KL-_PNG-2F7D0004-00000001-00000002.png");
    EXPECT_EQ(itemFileName(0x12345678, 0xABCDEF01, 0), "KL-UNKN-12345678-ABCDEF01-00000000.bnry");
}

TEST(UnpackArchive, EveryIndexFormGivesItsIds) {
    struct Case {
        std::string magic;
        std::uint32_t indexType;
        std::string name1;
        std::string name2;
    };
    const std::vector<Case> cases = {
        {"DBPF", 4, "KL-GMDL-00E6BCE5-00000001-00000002.gmdl",
         "KL-_PNG-2F7D0004-00000003-00000004.png"},
        {"DBBF", 4, "KL-GMDL-00E6BCE5-00000001-00000002.gmdl",
         "KL-_PNG-2F7D0004-00000003-00000004.png"},
        {"DBPF", 5, "KL-GMSH-01C135DA-00000001-00000002.gmsh",
         "KL-GMSH-01C135DA-00000003-00000004.gmsh"},
        {"DBPF", 6, "KL-GMSH-01C135DA-00000001-00000002.gmsh",
         "KL-GMSH-01C135DA-00000003-00000004.gmsh"},
        {"DBPF", 7, "KL-GMSH-01C135DA-0000BEEF-00000002.gmsh",
         "KL-GMSH-01C135DA-0000BEEF-00000004.gmsh"},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        TestPackage package;
        package.magic = c.magic;
        package.version = 3;
        package.indexType = c.indexType;
        package.constant1 = 0x01C135DA;
        package.constant2 = 0xBEEF;
        package.items = {{0x00E6BCE5, 1, 2, "first item"}, {0x2F7D0004, 3, 4, "second"}};
        Unpacked unpacked = unpackBytes(dir, test::buildPackage(package));
        ASSERT_TRUE(unpacked.result.ok()) << c.magic << c.indexType << test::shown(unpacked.result);
        EXPECT_EQ(test::namesIn(unpacked.folder), (std::set<std::string>{c.name1, c.name2}));
        EXPECT_EQ(test::readFile(unpacked.folder / c.name1), "first item");
        EXPECT_EQ(test::readFile(unpacked.folder / c.name2), "second");
    }
}

TEST(UnpackArchive, ItemRules) {
    test::TempDir dir;
    TestPackage package;
    TestItem compressed{0x2B6CAB5F, 0, 1, kWorkedStream, 9, 0x0001};
    TestItem compressed50 = compressed;
    compressed50.instanceId = 2;
    compressed50.bytes[0] = '\x50';
    compressed50.flags = 0xFFFF0010;
    TestItem empty{0x2B6CAB5F, 0, 3, "", 0};
    TestItem highBit{0x2B6CAB5F, 0, 4, "bit 31", 6};
    highBit.storedSizeHighBits = 0x80000000;
    TestItem upperFlags{0x2B6CAB5F, 0,         5, "flags above bit 15 do not mark compression",
                        0,          0x00010000};
    TestItem duplicateFirst{0x2B6CAB5F, 0, 6, "first"};
    TestItem duplicateSecond{0x2B6CAB5F, 0, 6, "second"};
    package.items = {compressed, compressed50,   empty,          highBit,
                     upperFlags, duplicateFirst, duplicateSecond};

    std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
    std::string status;
    test::writeFile(dir / "rules.package", test::buildPackage(package));
    Result<std::string> result = unpackArchive((dir / "rules.package").string(),
                                               [&](std::uint64_t done, std::uint64_t total) {
                                                   progress.push_back({done, total});
                                               },
                                               [&](const std::string& text) { status += text; });
    ASSERT_TRUE(result.ok()) << test::shown(result);
    EXPECT_EQ(test::shown(result), report(dir / "rules.package", 7));
    EXPECT_EQ(status, "Vazuvu V0.21 - by Dudoda\r\nEntry count = 7\r\nworking...");
    ASSERT_EQ(progress.size(), 7u);
    EXPECT_EQ(progress.back(), (std::pair<std::uint64_t, std::uint64_t>{7, 7}));

    const fs::path folder = dir / "rules";
    EXPECT_EQ(test::namesIn(folder).size(), 5u);  // nothing for size 0, one file for two equal ids
    EXPECT_EQ(test::readFile(folder / "KL-NOTE-2B6CAB5F-00000000-00000001.txt"), "abcabcabc");
    EXPECT_EQ(test::readFile(folder / "KL-NOTE-2B6CAB5F-00000000-00000002.txt"), "abcabcabc");
    EXPECT_FALSE(fs::exists(folder / "KL-NOTE-2B6CAB5F-00000000-00000003.txt"));
    EXPECT_EQ(test::readFile(folder / "KL-NOTE-2B6CAB5F-00000000-00000004.txt"), "bit 31");
    EXPECT_EQ(test::readFile(folder / "KL-NOTE-2B6CAB5F-00000000-00000005.txt"), upperFlags.bytes);
    EXPECT_EQ(test::readFile(folder / "KL-NOTE-2B6CAB5F-00000000-00000006.txt"), "second");

    // A second run reuses the folder and overwrites its files.
    test::writeFile(folder / "KL-NOTE-2B6CAB5F-00000000-00000006.txt", "edited");
    EXPECT_TRUE(unpackArchive((dir / "rules.package").string()).ok());
    EXPECT_EQ(test::readFile(folder / "KL-NOTE-2B6CAB5F-00000000-00000006.txt"), "second");
}

TEST(UnpackArchive, HeaderErrors) {
    TestPackage valid;
    valid.items = {{1, 2, 3, "x"}};
    auto with = [&valid](auto change) {
        TestPackage package = valid;
        change(package);
        return test::buildPackage(package);
    };
    auto patched = [](std::string bytes, std::size_t at, std::uint32_t value) {
        test::putLe32At(bytes, at, value);
        return bytes;
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {with([](TestPackage& p) { p.magic = "DBPG"; }), "ERR: Not DBPF or DBBF file type"},
        {with([](TestPackage& p) { p.version = 0; }), "ERR: Expected Version 2, found 0x00000000."},
        {with([](TestPackage& p) {
             p.magic = "DBBF";
             p.version = 1;
         }),
         "ERR: Expected Version 2, found 0x00000001."},
        {with([](TestPackage& p) { p.version = 4; }), "ERR: Expected Version 2, found 0x00000004."},
        {with([](TestPackage& p) { p.entryCount = 20001; }),
         "ERR: Invalid entry count, found 0x00004E21."},
        {with([](TestPackage& p) { p.entryCount = 0x80000000; }),
         "ERR: Invalid entry count, found 0x80000000."},
        {with([](TestPackage& p) { p.entryCount = 20000; }),
         "ERR: Entry count/Index size mismatch [8+28n], 20000 elements, size = 36"},
        {with([](TestPackage& p) { p.entryCount = 0; }),
         "ERR: Empty Archive: Zero index items.\r\nNothing available to extract."},
        {with([](TestPackage& p) {
             p.magic = "DBBF";
             p.indexSizeHigh = 1;
         }),
         "ERR: Archive too large to split [1] (>4 GB)."},
        {with([](TestPackage& p) {
             p.magic = "DBBF";
             p.indexOffsetHigh = 1;
         }),
         "ERR: Archive too large to split [2] (>4 GB)."},
        {std::string("DBP"), "ERR: File read error."},
        {std::string("DBPF\x02\x00", 6), "ERR: File read error."},
        {with([](TestPackage&) {}).substr(0, 40), "ERR: File read error."},
        {with([](TestPackage&) {}).substr(0, 67), "ERR: File read error."},
        {with([](TestPackage& p) { p.magic = "DBBF"; }).substr(0, 63), "ERR: File read error."},
        {patched(with([](TestPackage&) {}), 64, 0x7FFFFFF0), "ERR: File read error."},
    };
    for (const auto& [bytes, message] : cases) {
        test::TempDir dir;
        Unpacked unpacked = unpackBytes(dir, bytes);
        EXPECT_FALSE(unpacked.result.ok());
        EXPECT_EQ(test::shown(unpacked.result), message);
    }
}

TEST(UnpackArchive, IndexErrors) {
    struct Case {
        std::string magic;
        std::uint32_t indexType;
        std::optional<std::uint32_t> indexSize;
        std::uint32_t nullWord;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"DBPF", 4, 65, 0, "ERR: Entry count/Index size mismatch [8+28n], 2 elements, size = 65"},
        {"DBBF", 4, 64, 0, "ERR: Entry count/Index size mismatch [8+32n], 2 elements, size = 64"},
        {"DBPF", 4, 72, 0, "ERR: Entry count/Index size mismatch [8+28n], 2 elements, size = 72"},
        {"DBPF", 5, 61, 0, "ERR: Entry count/Index size mismatch [12+24n], 2 elements, size = 61"},
        {"DBPF", 6, 0, 0, "ERR: Entry count/Index size mismatch [12+24n], 2 elements, size = 0"},
        {"DBPF", 7, 55, 0, "ERR: Entry count/Index size mismatch [16+20n], 2 elements, size = 55"},
        {"DBPF", 4, 0xFFFFFFFF, 0,
         "ERR: Entry count/Index size mismatch [8+28n], 2 elements, size = 4294967295"},
        {"DBBF", 5, std::nullopt, 0, "Type 5 index not implemented for DBBF format."},
        {"DBBF", 6, std::nullopt, 0, "Type 6 index not implemented for DBBF format."},
        {"DBBF", 7, std::nullopt, 0, "Type 7 index not implemented for DBBF format."},
        {"DBPF", 3, std::nullopt, 0, "ERR: Invalid index type, found 0x00000003."},
        {"DBPF", 0xDEADBEEF, std::nullopt, 0, "ERR: Invalid index type, found 0xDEADBEEF."},
        {"DBPF", 4, std::nullopt, 7, "ERR: Invalid index null, found 0x00000007."},
        {"DBPF", 7, std::nullopt, 0x80000000, "ERR: Invalid index null, found 0x80000000."},
        {"DBBF", 4, std::nullopt, 1, "ERR: Invalid index null, found 0x00000001."},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        TestPackage package;
        package.magic = c.magic;
        package.indexType = c.indexType;
        package.nullWord = c.nullWord;
        package.indexSize = c.indexSize;
        package.items = {{1, 2, 3, "one"}, {1, 2, 4, "two"}};
        Unpacked unpacked = unpackBytes(dir, test::buildPackage(package));
        EXPECT_FALSE(unpacked.result.ok());
        EXPECT_EQ(test::shown(unpacked.result), c.message) << c.magic << " " << c.indexType;
        EXPECT_FALSE(fs::exists(unpacked.folder));
    }
}

TEST(UnpackArchive, IndexCutShortFailsAfterTheItemsBeforeTheCut) {
    test::TempDir dir;
    TestPackage package;
    package.items = {{1, 2, 3, "one"}, {1, 2, 4, "two"}};
    std::string bytes = test::buildPackage(package);
    bytes.resize(bytes.size() - 1);
    Unpacked unpacked = unpackBytes(dir, bytes);
    EXPECT_EQ(test::shown(unpacked.result), "ERR: File read error.");
    EXPECT_EQ(test::namesIn(unpacked.folder),
              (std::set<std::string>{"KL-UNKN-00000001-00000002-00000003.bnry"}));

    // Nothing before the cut that gives a file: no folder either.
    package.items[0].bytes.clear();
    bytes = test::buildPackage(package);
    bytes.resize(bytes.size() - 1);
    test::TempDir empty;
    Unpacked none = unpackBytes(empty, bytes);
    EXPECT_EQ(test::shown(none.result), "ERR: File read error.");
    EXPECT_FALSE(fs::exists(none.folder));
}

TEST(UnpackArchive, ItemErrors) {
    TestItem stream{0x2B6CAB5F, 0, 1, kWorkedStream, 9, 1};
    auto item = [&stream](auto change) {
        TestItem changed = stream;
        change(changed);
        return changed;
    };
    const std::vector<std::pair<TestItem, std::string>> cases = {
        {item([](TestItem& i) { i.bytes[1] = '\xFC'; }),
         "ERR: ChopItem uncompression type mismatch, expected 0xFB10, found FC10"},
        {item([](TestItem& i) { i.bytes[0] = '\x11'; }),
         "ERR: ChopItem uncompression type mismatch, expected 0xFB10, found FB11"},
        {item([](TestItem& i) { i.bytes = "\x10"; }),
         "ERR: ChopItem uncompression type mismatch, expected 0xFB10, found 0010"},
        {item([](TestItem& i) { i.decompressedSize = 10; }),
         "ERR: ChopItem uncompression size mismatch, expected 0000000A, found 00000009"},
        {item([](TestItem& i) { i.decompressedSize = 0x01000009; }),
         "ERR: ChopItem uncompression size mismatch, expected 01000009, found 00000009"},
        {item([](TestItem& i) { i.bytes = std::string("\x10\xFB\x00\x00", 4); }),
         "ERR: ChopItem uncompression size mismatch, expected 00000009, found 00000000"},
        {item([](TestItem& i) {
             i.bytes = std::string("\x10\xFB\x00\x00", 4);
             i.decompressedSize = 0;
         }),
         "ERR: Source buffer overrun."},
        {item([](TestItem& i) {
             i.bytes[4] = '\x0A';
             i.decompressedSize = 10;
         }),
         "ERR: Destination buffer underrun."},
        {item([](TestItem& i) {
             i.bytes[4] = '\x08';
             i.decompressedSize = 8;
         }),
         "ERR: Destination buffer overrun."},
        {item([](TestItem& i) { i.bytes.back() = '\xFD'; }), "ERR: Source buffer overrun."},
        {item([](TestItem& i) { i.bytes[6] = '\x05'; }),
         "ERR: Compressed copy reaches before the start of the output."},
        {item([](TestItem& i) { i.storedSize = 0x7FFFFFFF; }),
         "ERR: ChopItem read error at 00000080, read 47 of 2147483647 bytes"},
    };
    for (const auto& [bad, message] : cases) {
        test::TempDir dir;
        TestPackage package;
        package.items = {bad};
        Unpacked unpacked = unpackBytes(dir, test::buildPackage(package));
        EXPECT_FALSE(unpacked.result.ok());
        EXPECT_EQ(test::shown(unpacked.result), message);
        // The folder the run made is gone again: nothing was written into it.
        EXPECT_FALSE(fs::exists(unpacked.folder)) << message;
    }
}

// 20,000 entries of 2 GiB each in a package of 640 KB: refused before anything is written.
TEST(UnpackArchive, ItemsThatExceedTheFreeSpaceAreRefusedBeforeAnyIsWritten) {
    TestPackage package;
    package.indexType = 7;
    package.items.resize(20000, TestItem{1, 2, 3, "", 0, 0, 0, 0x7FFFFFFF});
    package.items[0].bytes = "the first item, which is not written either";
    for (const bool folderThere : {false, true}) {
        test::TempDir dir;
        if (folderThere) {
            fs::create_directory(dir / "items");
        }
        Unpacked unpacked = unpackBytes(dir, test::buildPackage(package));
        const std::string text = test::shown(unpacked.result);
        const std::string needed = "ERR: The items unpack to 42949672940000 bytes, but only ";
        EXPECT_EQ(text.substr(0, needed.size()), needed);
        const std::string folder = " bytes are free for " + unpacked.folder.string() + ".";
        ASSERT_GT(text.size(), needed.size() + folder.size());
        EXPECT_EQ(text.substr(text.size() - folder.size()), folder);
        EXPECT_EQ(fs::exists(unpacked.folder), folderThere);
        if (folderThere) {
            EXPECT_TRUE(test::namesIn(unpacked.folder).empty());
        }
    }
}

TEST(UnpackArchive, FileErrors) {
    test::TempDir dir;
    Unpacked missing;
    missing.result = unpackArchive((dir / "missing.package").string());
    EXPECT_EQ(test::shown(missing.result),
              "Failed to open input file " + (dir / "missing.package").string() + "\r\n");
    EXPECT_FALSE(missing.result.ok());

    TestPackage package;
    package.items = {{1, 2, 3, "item"}};
    fs::create_directories(dir / "blocked" / "KL-UNKN-00000001-00000002-00000003.bnry");
    Unpacked blocked = unpackBytes(dir, test::buildPackage(package), "blocked.package");
    EXPECT_EQ(test::shown(blocked.result),
              "ERR: Unable to open KL-UNKN-00000001-00000002-00000003.bnry for writing.");
}

TEST(UnpackArchive, EveryPrefixOfAPackageFailsCleanly) {
    TestPackage package;
    package.items = {{0x2B6CAB5F, 0, 1, kWorkedStream, 9, 1}, {1, 2, 3, "plain"}};
    for (const char* magic : {"DBPF", "DBBF"}) {
        package.magic = magic;
        const std::string bytes = test::buildPackage(package);
        test::TempDir dir;
        for (std::size_t size = 0; size < bytes.size(); ++size) {
            const std::string name = "cut" + std::to_string(size) + ".package";
            Unpacked unpacked = unpackBytes(dir, bytes.substr(0, size), name);
            EXPECT_FALSE(unpacked.result.ok()) << magic << " " << size;
            EXPECT_TRUE(test::shown(unpacked.result).rfind("ERR: ", 0) == 0)
                << test::shown(unpacked.result);
        }
        EXPECT_TRUE(unpackBytes(dir, bytes).result.ok());
    }
}

// Positions past 2 and 4 GiB: the package is sparse, so it takes no real disk space.
TEST(UnpackArchive, OffsetsBeyondTwoAndFourGiB) {
    struct Case {
        std::string magic;
        std::uint64_t itemOffset;
        std::uint32_t indexOffset;
    };
    const std::vector<Case> cases = {
        {"DBPF", 0x90000000ull, 0xC0000000u},
        {"DBBF", 0x140000000ull, 0xC0000000u},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        const bool dbbf = c.magic == "DBBF";
        std::string header(128, '\0');
        header.replace(0, 4, c.magic);
        test::putLe32At(header, 4, 2);
        test::putLe32At(header, 36, 1);
        std::string index;
        test::appendLe32(index, 4);
        test::appendLe32(index, 0);
        for (std::uint32_t word : {0x2B6CAB5Fu, 7u, 8u, static_cast<std::uint32_t>(c.itemOffset)}) {
            test::appendLe32(index, word);
        }
        if (dbbf) {
            test::appendLe32(index, static_cast<std::uint32_t>(c.itemOffset >> 32));
        }
        for (std::uint32_t word : {4u, 4u, 0u}) {
            test::appendLe32(index, word);
        }
        test::putLe32At(header, dbbf ? 40 : 44, static_cast<std::uint32_t>(index.size()));
        test::putLe32At(header, dbbf ? 56 : 64, c.indexOffset);

        const fs::path path = dir / "large.package";
        {
            std::ofstream out(path, std::ios::binary);
            out.write(header.data(), static_cast<std::streamsize>(header.size()));
            out.seekp(static_cast<std::streamoff>(c.itemOffset));
            out.write("far!", 4);
            out.seekp(static_cast<std::streamoff>(c.indexOffset));
            out.write(index.data(), static_cast<std::streamsize>(index.size()));
        }
        Result<std::string> result = unpackArchive(path.string());
        ASSERT_TRUE(result.ok()) << c.magic << ": " << test::shown(result);
        EXPECT_EQ(test::readFile(dir / "large" / "KL-NOTE-2B6CAB5F-00000007-00000008.txt"), "far!");
    }
}

const std::string kGmdcItem = "KL-GMDC-AC4F8687-1C050000-FF8AF5A3-2A6F56FA.5gd";

TEST(UnpackArchive, Sims2PackagesGiveTheirItemsUnderNamesWithTheResourceId) {
    struct Case {
        std::string sample;
        std::size_t files;
        std::string name;
        std::string sameBytesAs;  // a sample file the item must equal
    };
    const std::vector<Case> cases = {
        {"gmdc/TestMesh.package", 4, kGmdcItem, "gmdc/TestMesh.5gd"},
        {"gmdc/teapot_model.package", 4, "KL-GMDC-AC4F8687-1C0532FA-FF515126-3AFDFD2C.5gd",
         "gmdc/teapot_model.extracted.5gd"},
        {"qfs/sims2-simpe/RelLabels.package", 584, "KL-CLST-E86B1EEF-E86B1EEF-286B1F03.clst", ""},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        const std::string name = fs::path(c.sample).filename().string();
        Unpacked unpacked = unpackBytes(dir, test::readFile(test::samplePath(c.sample)), name);
        ASSERT_TRUE(unpacked.result.ok()) << c.sample << ": " << test::shown(unpacked.result);
        EXPECT_EQ(test::namesIn(unpacked.folder).size(), c.files) << c.sample;
        ASSERT_TRUE(fs::exists(unpacked.folder / c.name)) << c.sample;
        if (!c.sameBytesAs.empty()) {
            EXPECT_TRUE(test::readFile(unpacked.folder / c.name) ==
                        test::readFile(test::samplePath(c.sameBytesAs)))
                << c.sample;
        }
    }
    test::TempDir dir;
    Unpacked mesh =
        unpackBytes(dir, test::readFile(test::samplePath("gmdc/TestMesh.package")), "t.package");
    EXPECT_EQ(test::namesIn(mesh.folder),
              (std::set<std::string>{kGmdcItem, "KL-GMND-7BA3838C-1C050000-FFE07792-1E92DBA2.gmnd",
                                     "KL-SHPE-FC6EB1F7-1C050000-FFAFBAC3-1656B9C0.shpe",
                                     "KL-CRES-E519C933-1C050000-FF7C50BE-6CD4779F.cres"}));
}

TEST(UnpackArchive, CompressedSims2ItemsEqualTheirUncompressedTwins) {
    for (const char* twin : {"quaxi_nl_censor_v1", "quaxi_ofb_censor_v1"}) {
        test::TempDir dir;
        const std::string folder = std::string("qfs/sims2-simpe/") + twin;
        Unpacked compressed = unpackBytes(
            dir, test::readFile(test::samplePath(folder + ".compressed.package")), "c.package");
        Unpacked plain = unpackBytes(
            dir, test::readFile(test::samplePath(folder + ".uncompressed.package")), "u.package");
        ASSERT_TRUE(compressed.result.ok()) << twin << ": " << test::shown(compressed.result);
        ASSERT_TRUE(plain.result.ok()) << twin << ": " << test::shown(plain.result);
        const std::string item = "KL-UNKN-CD7FE87A-1C0532FA-FF703EE0-B8D92FFE.bnry";
        EXPECT_EQ(test::namesIn(plain.folder), std::set<std::string>{item});
        EXPECT_EQ(test::namesIn(compressed.folder),
                  (std::set<std::string>{item, "KL-CLST-E86B1EEF-E86B1EEF-286B1F03.clst"}));
        EXPECT_TRUE(test::readFile(compressed.folder / item) == test::readFile(plain.folder / item))
            << twin;
    }
}

TEST(UnpackArchive, MalformedSims2Packages) {
    const test::Sims2Item compressed{0x53545223, 1, 2, 0, test::sims2Compressed(kWorkedStream)};
    const test::Sims2DirectoryEntry listed{{0x53545223, 1, 2, 0}, 9};
    auto with = [&](auto change) {
        test::Sims2Package package;
        package.items = {compressed, {0x53545223, 1, 3, 0, "plain"}};
        package.directory = {listed};
        change(package);
        return test::buildSims2Package(package);
    };
    const std::string valid = with([](test::Sims2Package&) {});
    const std::vector<std::pair<std::string, std::string>> cases = {
        {with([](test::Sims2Package& p) { p.indexMajor = 6; }),
         "ERR: Expected index version 7, found 0x00000006."},
        {with([](test::Sims2Package& p) { p.indexMinor = 3; }),
         "ERR: Expected index minor version 0, 1 or 2, found 0x00000003."},
        {with([](test::Sims2Package& p) { p.indexSize = 71; }),
         "ERR: Entry count/Index size mismatch [24n], 3 elements, size = 71"},
        {with([](test::Sims2Package& p) { p.indexOffset = 0xFFFFFFF0; }),
         "ERR: Index of 72 bytes at offset FFFFFFF0 runs past the end of the file (" +
             std::to_string(valid.size()) + " bytes)."},
        {with([](test::Sims2Package& p) {
             p.directory.push_back({{0x53545223, 1, 9, 7}, 4});
         }),
         "ERR: Compression directory lists item 53545223-00000001-00000009-00000007, which the "
         "index does not hold."},
        {with([](test::Sims2Package& p) {
             p.directory.clear();
             p.items.push_back({0xE86B1EEF, 0xE86B1EEF, 0x286B1F03, 0, std::string(19, '\0')});
         }),
         "ERR: Compression directory of 19 bytes is not a whole number of 20-byte entries."},
        {with([](test::Sims2Package& p) {
             p.directory.clear();
             p.items.push_back(
                 {0xE86B1EEF, 0xE86B1EEF, 0x286B1F03, 0, std::string(20, '\0'), 0x7FFFFFE4});
         }),
         "ERR: ChopItem read error at 00000074, read 92 of 2147483620 bytes"},
        {with([](test::Sims2Package& p) { p.items[1].storedSize = 4096; }),
         "ERR: ChopItem read error at 0000006F, read 97 of 4096 bytes"},
        {with([](test::Sims2Package& p) { p.directory[0].size = 10; }),
         "ERR: ChopItem uncompression size mismatch, expected 0000000A, found 00000009"},
        // A stream stored without its size word.
        {with([](test::Sims2Package& p) { p.items[0].bytes = kWorkedStream; }),
         "ERR: ChopItem uncompression type mismatch, expected 0xFB10, found 0F09"},
    };
    for (const auto& [bytes, message] : cases) {
        test::TempDir dir;
        Unpacked unpacked = unpackBytes(dir, bytes);
        EXPECT_FALSE(unpacked.result.ok()) << message;
        EXPECT_EQ(test::shown(unpacked.result), message);
        // Whatever a package holds, its items land in its own folder and nowhere else, and an
        // empty folder does not stay.
        const bool written = message.find("read 97 of 4096") != std::string::npos;
        const std::set<std::string> expected = written
                                                   ? std::set<std::string>{"items", "items.package"}
                                                   : std::set<std::string>{"items.package"};
        EXPECT_EQ(test::namesIn(dir.path()), expected) << message;
    }
}

// Index minor version 2 carries resource ids in 24-byte entries and 20-byte directory
// entries; 0 and 1 have neither.
TEST(UnpackArchive, EveryPrefixOfASims2PackageFailsCleanly) {
    for (std::uint32_t minor : {1u, 2u}) {
        test::Sims2Package package;
        package.indexMinor = minor;
        package.items = {{0x53545223, 1, 2, 0, test::sims2Compressed(kWorkedStream)},
                         {0xAC4F8687, 1, 3, 5, "plain"}};
        package.directory = {{{0x53545223, 1, 2, 0}, 9}};
        const std::string bytes = test::buildSims2Package(package);
        test::TempDir dir;
        for (std::size_t size = 0; size < bytes.size(); ++size) {
            Unpacked unpacked = unpackBytes(dir, bytes.substr(0, size), "cut.package");
            EXPECT_EQ(test::shown(unpacked.result).rfind("ERR: ", 0), 0u)
                << size << ": " << test::shown(unpacked.result);
        }
        Unpacked whole = unpackBytes(dir, bytes, "whole.package");
        ASSERT_TRUE(whole.result.ok()) << test::shown(whole.result);
        const std::string gmdc = minor == 2 ? "KL-GMDC-AC4F8687-00000001-00000003-00000005.5gd"
                                            : "KL-GMDC-AC4F8687-00000001-00000003.5gd";
        EXPECT_EQ(test::namesIn(whole.folder),
                  (std::set<std::string>{"KL-STR#-53545223-00000001-00000002.str", gmdc,
                                         "KL-CLST-E86B1EEF-E86B1EEF-286B1F03.clst"}));
        EXPECT_EQ(test::readFile(whole.folder / "KL-STR#-53545223-00000001-00000002.str"),
                  "abcabcabc");
    }
}

}  // namespace
}  // namespace verada
