#include "formats/package/package_index.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/package/package_item_data.h"
#include "tests/formats/package/package_builder.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

std::size_t compressedCount(const PackageIndex& index) {
    return static_cast<std::size_t>(std::count_if(
        index.items.begin(), index.items.end(), [](const PackageItem& i) { return i.compressed; }));
}

TEST(ReadPackageIndex, RealPackagesOfBothGames) {
    struct Case {
        std::string sample;
        std::uint32_t major;
        std::uint32_t minor;
        std::size_t items;
        std::size_t compressed;
        bool resourceIds;
    };
    const std::vector<Case> cases = {
        {"gmdc/TestMesh.package", 1, 1, 4, 0, true},
        {"gmdc/teapot_model.package", 1, 1, 4, 0, true},
        {"qfs/sims2-simpe/RelLabels.package", 1, 1, 584, 583, true},
        {"qfs/sims2-simpe/quaxi_nl_censor_v1.compressed.package", 1, 1, 2, 1, true},
        {"qfs/sims2-simpe/quaxi_nl_censor_v1.uncompressed.package", 1, 1, 1, 0, true},
        {"package/spore-smfx/Valla_CreaturePartUnlocking_Cell.package", 3, 0, 12, 0, false},
        {"package/spore-smfx/MasterOfTime-Interlude-foundation.package", 3, 0, 4, 0, false},
        {"package/spore-smfx/Project_0.package", 3, 0, 2, 0, false},
    };
    for (const Case& c : cases) {
        Result<PackageIndex> index = readPackageIndex(test::samplePath(c.sample).string());
        ASSERT_TRUE(index) << c.sample << ": " << index.error();
        EXPECT_EQ(index->magic, "DBPF");
        EXPECT_EQ(index->majorVersion, c.major) << c.sample;
        EXPECT_EQ(index->minorVersion, c.minor) << c.sample;
        EXPECT_EQ(index->items.size(), c.items) << c.sample;
        EXPECT_EQ(index->entryCount, c.items) << c.sample;
        EXPECT_EQ(compressedCount(index.value()), c.compressed) << c.sample;
        for (const PackageItem& item : index->items) {
            EXPECT_EQ(item.resourceId.has_value(), c.resourceIds) << c.sample;
            if (!item.compressed) {
                EXPECT_EQ(item.size, item.storedSize) << c.sample;
            }
        }
    }

    Result<PackageIndex> mesh =
        readPackageIndex(test::samplePath("gmdc/TestMesh.package").string());
    ASSERT_TRUE(mesh);
    const PackageItem& gmdc = mesh->items[0];
    EXPECT_EQ(itemFileName(gmdc), "KL-GMDC-AC4F8687-1C050000-FF8AF5A3-2A6F56FA.5gd");
    EXPECT_EQ(gmdc.offset, 96u);
    EXPECT_EQ(gmdc.storedSize, 717741u);

    Result<PackageIndex> twin = readPackageIndex(
        test::samplePath("qfs/sims2-simpe/quaxi_nl_censor_v1.compressed.package").string());
    ASSERT_TRUE(twin);
    EXPECT_TRUE(twin->items[0].compressed);
    EXPECT_EQ(twin->items[0].storedSize, 5341u);
    EXPECT_EQ(twin->items[0].size, 14180u);
    EXPECT_FALSE(twin->items[1].compressed);  // the directory itself
}

// The unpacker writes the entries before a cut; everyone else gets the failure.
TEST(ReadPackageIndex, AnIndexCutShortFailsForTheListing) {
    test::TempDir dir;
    test::TestPackage package;
    package.items = {{1, 2, 3, "one"}, {1, 2, 4, "two"}};
    std::string bytes = test::buildPackage(package);
    bytes.resize(bytes.size() - 1);
    test::writeFile(dir / "cut.package", bytes);

    Result<PackageFile> file = PackageFile::open((dir / "cut.package").string());
    ASSERT_TRUE(file);
    Result<PackageIndex> index = readPackageIndex(file.value());
    ASSERT_TRUE(index);
    EXPECT_EQ(index->items.size(), 1u);
    EXPECT_EQ(index->cutShort, std::optional<std::string>("ERR: File read error."));
    EXPECT_EQ(readPackageIndex((dir / "cut.package").string()).error(), "ERR: File read error.");
    EXPECT_EQ(readPackageIndex((dir / "missing.package").string()).error(),
              "Failed to open input file " + (dir / "missing.package").string() + "\r\n");
}

TEST(ReadPackageItem, CompressedItemsOfEitherGenerationExpand) {
    const std::string stream(
        "\x10\xFB\x00\x00\x09\x0F\x02"
        "abc\xFC",
        11);
    test::TempDir dir;
    test::Sims2Package sims2;
    sims2.items = {{0x53545223, 1, 2, 0, test::sims2Compressed(stream)}};
    sims2.directory = {{{0x53545223, 1, 2, 0}, 9}};
    test::TestPackage spore;
    spore.items = {{0x2B6CAB5F, 0, 1, stream, 9, 0xFFFF}};
    for (const std::string& bytes : {test::buildSims2Package(sims2), test::buildPackage(spore)}) {
        test::writeFile(dir / "p.package", bytes);
        Result<PackageFile> file = PackageFile::open((dir / "p.package").string());
        ASSERT_TRUE(file);
        Result<PackageIndex> index = readPackageIndex(file.value());
        ASSERT_TRUE(index) << index.error();
        Result<std::vector<std::uint8_t>> item = readPackageItem(file.value(), index->items[0]);
        ASSERT_TRUE(item) << item.error();
        EXPECT_EQ(std::string(item->begin(), item->end()), "abcabcabc");
    }
}

}  // namespace
}  // namespace verada
