#include "formats/model/gmsh_reader.h"
#include "formats/model/model_format.h"

#include <gtest/gtest.h>

#include "tests/support/gmsh_writer.h"
#include "tests/support/model_read.h"
#include "tests/support/test_paths.h"
#include "tests/support/truncation.h"

namespace verada {
namespace {

using test::GmshBlock;
using test::GmshFile;
using test::simpleGmsh;

std::optional<std::string> read(ImportedModel& model, const GmshFile& file,
                                const std::string& name = "mesh.gmsh") {
    return test::readInto(model, readGmshData(name, file.bytes()));
}

std::array<float, 3> vec(const std::vector<float>& values, int k) {
    return {values[3 * k], values[3 * k + 1], values[3 * k + 2]};
}

TEST(GmshReader, ReadsEveryBlockType) {
    GmshFile file = simpleGmsh(4, {0, 1, 2, 2, 1, 3, 3, 0});
    // Blocks of other types are passed over wherever they come after the vertices.
    file.blocks.insert(file.blocks.begin() + 1,
                       GmshBlock{5, 3, 16, std::vector<std::uint8_t>(48, 0xEE)});
    file.blocks.push_back(GmshBlock{0x1234, 2, 1, {1, 2}});
    file.blocks.push_back(GmshBlock{3, 0, 100, {}});
    ImportedModel model;
    ASSERT_EQ(read(model, file), std::nullopt);
    ASSERT_EQ(model.groupCount(), 1);
    const ModelGroup& group = model.groups[0];
    EXPECT_EQ(group.name, "unnamed");
    EXPECT_EQ(group.vertexCount(), 4);
    EXPECT_EQ(group.faceCount(), 2);
    // Indices past the last whole face are checked but not kept.
    EXPECT_EQ(group.faces, (std::vector<std::uint16_t>{0, 1, 2, 2, 1, 3}));
    for (int k = 0; k < 4; ++k) {
        float f = static_cast<float>(k);
        EXPECT_EQ(vec(group.positions, k), (std::array<float, 3>{f, 3 * f, -2 * f}));
        EXPECT_EQ(vec(group.normals, k), (std::array<float, 3>{0, 1, 0}));
        EXPECT_EQ(group.uvs[2 * k], f);
        EXPECT_EQ(group.uvs[2 * k + 1], -f);
    }
    EXPECT_EQ(group.boundsMin, (std::array<float, 3>{0, 0, -6}));
    EXPECT_EQ(group.boundsMax, (std::array<float, 3>{3, 9, 0}));
}

TEST(GmshReader, AxisMappingAndBoxFromTheOrigin) {
    GmshFile file;
    file.blocks = {test::vectorBlock(1, {{1, 2, 3}, {6, 7, 8}}),
                   test::vectorBlock(2, {{0.5f, -1, 2}, {1, 1, 1}})};
    file.indices = {0, 1, 1};
    ImportedModel model;
    ASSERT_EQ(read(model, file), std::nullopt);
    const ModelGroup& group = model.groups[0];
    EXPECT_EQ(vec(group.positions, 0), (std::array<float, 3>{1, 3, -2}));
    EXPECT_EQ(vec(group.normals, 0), (std::array<float, 3>{0.5f, 2, 1}));
    // Every position lies at x > 0, yet the box starts at the origin.
    EXPECT_EQ(group.boundsMin, (std::array<float, 3>{0, 0, -7}));
    EXPECT_EQ(group.boundsMax, (std::array<float, 3>{6, 8, 0}));
    // No texture-coordinate block: zeros.
    EXPECT_EQ(group.uvs, std::vector<float>(4, 0.0f));
}

TEST(GmshReader, OnlyVerticesGiveZeroNormalsAndUvs) {
    GmshFile file = simpleGmsh(3, {0, 1, 2});
    file.blocks.resize(1);
    ImportedModel model;
    ASSERT_EQ(read(model, file), std::nullopt);
    EXPECT_EQ(model.groups[0].normals, std::vector<float>(9, 0.0f));
    EXPECT_EQ(model.groups[0].uvs, std::vector<float>(6, 0.0f));
}

TEST(GmshReader, NameComesFromUnpackedFileNames) {
    const std::pair<std::string, std::string> cases[] = {
        {"KL-GMSH-00000000-1A2B3C4D-5E6F7A8B.gmsh", "GMSH-1A2B3C4D-5E6F7A8B"},
        {"dir/KL-GMSH-00000000-1A2B3C4D-5E6F7A8B.gmsh", "GMSH-1A2B3C4D-5E6F7A8B"},
        {"KL-GMSH-00000000.gmsh", "GMSH-"},
        {"KL-GMDL-00000000-1A2B3C4D-5E6F7A8B.gmsh", "unnamed"},
        {"mesh.gmsh", "unnamed"},
    };
    for (const auto& [fileName, name] : cases) {
        ImportedModel model;
        ASSERT_EQ(read(model, simpleGmsh(3, {0, 1, 2}), fileName), std::nullopt);
        EXPECT_EQ(model.groups[0].name, name) << fileName;
    }
}

TEST(GmshReader, LargestModel) {
    std::vector<std::uint16_t> indices(65535);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        indices[i] = static_cast<std::uint16_t>(65534 - i);
    }
    ImportedModel model;
    ASSERT_EQ(read(model, simpleGmsh(65535, indices)), std::nullopt);
    EXPECT_EQ(model.groups[0].vertexCount(), 65535);
    EXPECT_EQ(model.groups[0].faceCount(), 21845);
    EXPECT_EQ(model.groups[0].faces, indices);
    EXPECT_EQ(vec(model.groups[0].positions, 65534),
              (std::array<float, 3>{65534, 3 * 65534.0f, -2 * 65534.0f}));
}

TEST(GmshReader, EveryErrorMessage) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::string message;
    };
    auto changed = [](auto change) {
        GmshFile file = simpleGmsh(3, {0, 1, 2});
        change(file);
        return file.bytes();
    };
    std::vector<std::uint8_t> good = simpleGmsh(3, {0, 1, 2}).bytes();
    // Header 14 bytes; the vertex block's header is 10 bytes, its items 36.
    const Case cases[] = {
        {"short version", test::prefix(good, 3), "ERR: File Read Error"},
        {"short version2", test::prefix(good, 7), "ERR: File Read Error"},
        {"short block count", test::prefix(good, 13), "ERR: File Read Error."},
        {"short block type", test::prefix(good, 15), "ERR: File read error."},
        {"short ignored word", test::prefix(good, 19), "ERR: File read error."},
        {"short item count", test::prefix(good, 21), "ERR: File Read Error."},
        {"short item size", test::prefix(good, 23), "ERR: File Read Error."},
        {"version", changed([](GmshFile& f) { f.version = 0x01000000; }),
         "ERR: Expected version value 1, found 01000000 instead."},
        {"version2", changed([](GmshFile& f) { f.version2 = 2; }),
         "ERR: Expected version2 value 1, found 00000002 instead."},
        {"second vertex block", changed([](GmshFile& f) { f.blocks.push_back(f.blocks[0]); }),
         "ERR: Unexpected extra Vertex group found, block 3."},
        {"vertex size", changed([](GmshFile& f) { f.blocks[0].size = 16; }),
         "ERR: Unexpected vertex group size value 16 found."},
        {"short position", test::prefix(good, 24 + 12 + 5),
         "ERR: Read error on vertices. Only 5 of 12 bytes read."},
        {"normals first", changed([](GmshFile& f) { std::swap(f.blocks[0], f.blocks[1]); }),
         "ERR: Normal group found before vertex group, block 0."},
        {"normals after an empty vertex block", changed([](GmshFile& f) {
             f.blocks[0].count = 0;
             f.blocks[0].items.clear();
         }),
         "ERR: Normal group found before vertex group, block 1."},
        {"normal count", changed([](GmshFile& f) {
             f.blocks[1] = test::vectorBlock(2, {{0, 0, 1}});
         }),
         "ERR: Normal count mismatch, expected 3 items, 1 found."},
        {"normal size", changed([](GmshFile& f) { f.blocks[1].size = 8; }),
         "ERR: Unexpected normal group size value 8 found."},
        {"short normal", test::prefix(good, 24 + 36 + 10 + 12 + 11),
         "ERR: Read error on normals. Only 11 of 12 bytes read."},
        {"texture coordinates first",
         changed([](GmshFile& f) { std::swap(f.blocks[0], f.blocks[2]); }),
         "ERR: UV group found before vertex group, block 0."},
        {"texture-coordinate count", changed([](GmshFile& f) {
             f.blocks[2] = test::uvBlock({{0, 0}, {1, 1}, {2, 2}, {3, 3}});
         }),
         "ERR: UV count mismatch, expected 3 items, 4 found."},
        {"texture-coordinate size", changed([](GmshFile& f) { f.blocks[2].size = 12; }),
         "ERR: Unexpected UV group size value 12 found."},
        {"short texture coordinate", test::prefix(good, 24 + 36 + 10 + 36 + 10 + 8 + 1),
         "ERR: Read error on UVs. Only 1 of 8 bytes read."},
        {"other block first", changed([](GmshFile& f) {
             f.blocks.insert(f.blocks.begin(), GmshBlock{5, 3, 16, {}});
         }),
         "ERR: Group type 5 found before vertex group, block 0."},
        {"face block id", changed([](GmshFile& f) { f.faceBlockId = 4; }),
         "ERR: Unexpected face block id 4 found."},
        {"no data blocks", changed([](GmshFile& f) { f.blocks.clear(); }),
         "ERR: Face group found with zero Vertex Count."},
        {"index size", changed([](GmshFile& f) { f.indexSize = 4; }),
         "ERR: Unexpected face block size value 4 found."},
        {"short index", test::prefix(good, good.size() - 1),
         "ERR: Read error on face. Only 1 of 2 bytes read, loop 2."},
        {"index at the vertex count", changed([](GmshFile& f) { f.indices[1] = 3; }),
         "ERR: Face index range error, found 0003, max = 0003."},
        {"large index", changed([](GmshFile& f) { f.indices[2] = 0xABCD; }),
         "ERR: Face index range error, found ABCD, max = 0003."},
        {"skipped block runs past the end", changed([](GmshFile& f) {
             f.blocks.push_back(GmshBlock{5, 1000, 1000, {}});
         }),
         "ERR: File read error."},
    };
    for (const Case& c : cases) {
        ImportedModel model;
        EXPECT_EQ(test::readInto(model, readGmshData("mesh.gmsh", c.bytes)), c.message) << c.what;
        EXPECT_TRUE(model.groups.empty()) << c.what;
    }
    ImportedModel model;
    EXPECT_EQ(test::readInto(model, readModelFile(ModelFormat::Gmsh, "/nonexistent/mesh.gmsh")),
              "ERR: File missing or damaged.");
}

TEST(GmshReader, ReadsFromDisk) {
    test::TempDir dir;
    std::vector<std::uint8_t> bytes = simpleGmsh(3, {0, 1, 2}).bytes();
    std::string path = (dir / "mesh.gmsh").string();
    test::writeFile(path, std::string(bytes.begin(), bytes.end()));
    ImportedModel model;
    ASSERT_EQ(test::readInto(model, readModelFile(ModelFormat::Gmsh, path)), std::nullopt);
    EXPECT_EQ(model.fileName, path);
    EXPECT_EQ(model.groups[0].vertexCount(), 3);
}

TEST(GmshReader, EveryPrefixFails) {
    GmshFile file = simpleGmsh(5, {0, 1, 2, 2, 3, 4});
    file.blocks.push_back(GmshBlock{5, 3, 4, std::vector<std::uint8_t>(12, 1)});
    std::vector<std::uint8_t> bytes = file.bytes();
    ImportedModel model;
    ASSERT_EQ(test::readInto(model, readGmshData("m.gmsh", bytes)), std::nullopt);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        ASSERT_TRUE(test::readInto(model, readGmshData("m.gmsh", test::prefix(bytes, length))))
            << length;
    }
}

}  // namespace
}  // namespace verada
