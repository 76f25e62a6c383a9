#include "formats/model/model_format.h"

#include <gtest/gtest.h>

#include "tests/support/gmdc_writer.h"
#include "tests/support/gmdl_writer.h"
#include "tests/support/gmsh_writer.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

TEST(ModelFormat, ChosenByExtensionIgnoringCase) {
    const std::pair<std::string, std::optional<ModelFormat>> cases[] = {
        {"a.gmdl", ModelFormat::Gmdl},
        {"dir.x/A.GMDL", ModelFormat::Gmdl},
        {"a.gmsh", ModelFormat::Gmsh},
        {"a.GmSh", ModelFormat::Gmsh},
        {"a.5gd", ModelFormat::Gmdc},
        {"a.5GD", ModelFormat::Gmdc},
        {"a.simpe", ModelFormat::Gmdc},
        {"a.SimPE", ModelFormat::Gmdc},
        {"a.mesh", std::nullopt},
        {"gmdl", std::nullopt},
        {"a.gmdl.bak", std::nullopt},
        {"dir.gmdl/file", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [path, format] : cases) {
        EXPECT_EQ(modelFormatForPath(path), format) << path;
    }
}

TEST(ModelFormat, ReadsWithTheFormatsReader) {
    test::TempDir dir;
    std::vector<std::uint8_t> bytes = test::simpleGmsh(3, {0, 1, 2}).bytes();
    std::string path = (dir / "m.gmsh").string();
    test::writeFile(path, std::string(bytes.begin(), bytes.end()));
    Result<ImportedModel> read = readModelFile(ModelFormat::Gmsh, path);
    ASSERT_TRUE(read) << read.error();
    EXPECT_EQ(read->groups[0].vertexCount(), 3);
    EXPECT_EQ(readModelFile(path).error(), "");
    // The same bytes are no GMDL file.
    EXPECT_EQ(readModelFile(ModelFormat::Gmdl, path).error(),
              "ERR: Expected version 7 or 8, found 01000000 instead.");
    EXPECT_EQ(readModelFile(ModelFormat::Gmdc, path).error(),
              "ERR: Unknown file type (not 0xAC4F8687).");
    EXPECT_EQ(readModelFile((dir / "m.txt").string()).error(),
              "ERR: Unknown model file type, expected .gmdl, .gmsh, .5gd or .simpe.");
}

// Each model owns its arrays: a second read, of the same format or another, leaves the first
// exactly as it was read.
TEST(ModelFormat, EveryReadGivesAnIndependentModel) {
    struct Case {
        ModelFormat format;
        std::vector<std::uint8_t> first;
        std::vector<std::uint8_t> second;
    };
    const Case cases[] = {
        {ModelFormat::Gmdl, test::simpleGmdl(4, {0, 1, 2, 2, 1, 3}).bytes(),
         test::simpleGmdl(3, {2, 1, 0}).bytes()},
        {ModelFormat::Gmsh, test::simpleGmsh(4, {0, 1, 2, 2, 1, 3}).bytes(),
         test::simpleGmsh(3, {2, 1, 0}).bytes()},
        {ModelFormat::Gmdc, test::simpleGmdc(4, 4, {0, 1, 2, 2, 1, 3}).bytes(),
         test::simpleGmdc(2, 3, {2, 1, 0}).bytes()},
    };
    for (const Case& c : cases) {
        Result<ImportedModel> first = readModelData(c.format, "first", c.first);
        ASSERT_TRUE(first) << first.error();
        const ImportedModel copy = first.value();
        Result<ImportedModel> second = readModelData(c.format, "second", c.second);
        ASSERT_TRUE(second) << second.error();
        Result<ImportedModel> again = readModelData(c.format, "first", c.first);
        for (const Result<ImportedModel>* model : {&first, &again}) {
            const ModelGroup& group = model->value().groups[0];
            const ModelGroup& kept = copy.groups[0];
            EXPECT_EQ(group.positions, kept.positions);
            EXPECT_EQ(group.normals, kept.normals);
            EXPECT_EQ(group.uvs, kept.uvs);
            EXPECT_EQ(group.faces, kept.faces);
        }
        EXPECT_EQ(first->groups[0].vertexCount(), 4);
        EXPECT_EQ(second->groups[0].vertexCount(), 3);
        EXPECT_NE(first->groups[0].positions.data(), again->groups[0].positions.data());
    }
}

}  // namespace
}  // namespace verada
