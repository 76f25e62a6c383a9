#include "formats/model/model_format.h"

#include <gtest/gtest.h>

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
    ImportedModel model;
    EXPECT_EQ(readModelFile(ModelFormat::Gmsh, model, path), std::nullopt);
    EXPECT_EQ(model.groups[0].vertexCount, 3);
    // The same bytes are no GMDL file.
    EXPECT_EQ(readModelFile(ModelFormat::Gmdl, model, path),
              "ERR: Expected version 7 or 8, found 01000000 instead.");
    EXPECT_EQ(readModelFile(ModelFormat::Gmdc, model, path),
              "ERR: Unknown file type (not 0xAC4F8687).");
}

}  // namespace
}  // namespace verada
