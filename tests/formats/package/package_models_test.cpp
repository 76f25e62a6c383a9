#include "formats/package/package_models.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/model/model_format.h"
#include "formats/package/archive_packer.h"
#include "tests/support/gmsh_writer.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

namespace fs = std::filesystem;

void expectSameModel(const Result<ImportedModel>& read, const Result<ImportedModel>& expected,
                     const std::string& what) {
    ASSERT_TRUE(read) << what << ": " << read.error();
    ASSERT_TRUE(expected) << what << ": " << expected.error();
    ASSERT_EQ(read->groupCount(), expected->groupCount()) << what;
    for (int g = 0; g < read->groupCount(); ++g) {
        EXPECT_EQ(read->groups[g].name, expected->groups[g].name) << what;
        EXPECT_EQ(read->groups[g].positions, expected->groups[g].positions) << what;
        EXPECT_EQ(read->groups[g].faces, expected->groups[g].faces) << what;
    }
}

// Items of every model type, compressed by the packer, beside items that are no model.
TEST(ReadModelsAt, EveryModelItemOfAPackageInIndexOrder) {
    test::TempDir dir;
    const fs::path items = dir / "items";
    fs::create_directory(items);
    const std::string gmdl = "KL-GMDL-00E6BCE5-00000001-00000002.gmdl";
    const std::string gmsh = "KL-GMSH-01C135DA-00000001-00000003.gmsh";
    const std::string gmdc = "KL-GMDC-AC4F8687-00000001-00000004.5gd";
    const std::string broken = "KL-GMDC-AC4F8687-00000001-00000005.5gd";
    test::writeFile(items / gmdl, test::readFile(test::samplePath("gmdl/Megamouth.gmdl")));
    const std::vector<std::uint8_t> mesh = test::simpleGmsh(4, {0, 1, 2, 2, 1, 3}).bytes();
    test::writeFile(items / gmsh, std::string(mesh.begin(), mesh.end()));
    test::writeFile(items / gmdc, test::readFile(test::samplePath("gmdc/TestMesh.5gd")));
    test::writeFile(items / broken, "not a model");
    test::writeFile(items / "KL-NOTE-2B6CAB5F-00000001-00000006.txt", "notes");
    const std::string package = (dir / "mixed.package").string();
    ASSERT_TRUE(packArchive(items.string(), package, {}, ItemStorage::CompressedWhenSmaller));

    std::vector<ModelRead> models = readModelsAt(package);
    ASSERT_EQ(models.size(), 4u);
    const std::vector<std::pair<std::string, ModelFormat>> expected = {{gmdc, ModelFormat::Gmdc},
                                                                       {broken, ModelFormat::Gmdc},
                                                                       {gmdl, ModelFormat::Gmdl},
                                                                       {gmsh, ModelFormat::Gmsh}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [name, format] = expected[i];
        EXPECT_EQ(models[i].file, package + ":" + name);
        const std::string bytes = test::readFile(items / name);
        Result<ImportedModel> asFile =
            readModelData(format, name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        if (name == broken) {
            EXPECT_EQ(models[i].model.error(), asFile.error());
            EXPECT_FALSE(models[i].model);
        } else {
            expectSameModel(models[i].model, asFile, name);
        }
    }
}

}  // namespace
}  // namespace verada
