#include "formats/model/gmdc_reader.h"
#include "formats/io/byte_writer.h"
#include "formats/model/model_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/support/gmdc_writer.h"
#include "tests/support/model_read.h"
#include "tests/support/test_paths.h"
#include "tests/support/truncation.h"

namespace verada {
namespace {

using test::GmdcElement;
using test::GmdcFile;
using test::simpleGmdc;

// The warnings of the last read, joined as the reader's log used to hold them.
std::string warningLog;

std::optional<std::string> readInto(ImportedModel& model, Result<ImportedModel> read) {
    warningLog.clear();
    for (const std::string& warning : read.warnings()) {
        warningLog += warning;
    }
    return test::readInto(model, std::move(read));
}

std::optional<std::string> read(ImportedModel& model, const GmdcFile& file) {
    return readInto(model, readGmdcData("model.5gd", file.bytes()));
}

std::array<float, 3> vec(const std::vector<float>& values, int k) {
    return {values[3 * k], values[3 * k + 1], values[3 * k + 2]};
}

float floatAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    float value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// Where TestMesh.5gd keeps the data of elements 19 (positions), 20 (normals), 21 (texture
// coordinates) and the indices of its one group.
constexpr std::size_t kTestMeshPositions = 7963;
constexpr std::size_t kTestMeshNormals = 24791;
constexpr std::size_t kTestMeshUvs = 41619;
constexpr std::size_t kTestMeshIndices = 165124;

TEST(GmdcReader, ReadsTestMesh) {
    std::string path = test::samplePath("gmdc/TestMesh.5gd").string();
    std::vector<std::uint8_t> bytes = test::fileBytes(path);
    ImportedModel model;
    ASSERT_EQ(readInto(model, readModelFile(ModelFormat::Gmdc, path)), std::nullopt);
    EXPECT_EQ(model.fileName, path);
    EXPECT_EQ(warningLog, "");
    ASSERT_EQ(model.groupCount(), 1);
    const ModelGroup& group = model.groups[0];
    EXPECT_EQ(group.name, "body");
    ASSERT_EQ(group.vertexCount(), 1400);
    ASSERT_EQ(group.faceCount(), 2116);
    std::array<float, 3> low{0, 0, 0};
    std::array<float, 3> high{0, 0, 0};
    for (int k = 0; k < 1400; ++k) {
        std::size_t p = kTestMeshPositions + 12 * k;
        std::array<float, 3> position{-floatAt(bytes, p), floatAt(bytes, p + 8),
                                      floatAt(bytes, p + 4)};
        ASSERT_EQ(vec(group.positions, k), position) << k;
        std::size_t n = kTestMeshNormals + 12 * k;
        ASSERT_EQ(vec(group.normals, k),
                  (std::array<float, 3>{-floatAt(bytes, n), floatAt(bytes, n + 8),
                                        floatAt(bytes, n + 4)}))
            << k;
        ASSERT_EQ(group.uvs[2 * k], floatAt(bytes, kTestMeshUvs + 8 * k)) << k;
        ASSERT_EQ(group.uvs[2 * k + 1], floatAt(bytes, kTestMeshUvs + 8 * k + 4)) << k;
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], position[axis]);
            high[axis] = std::max(high[axis], position[axis]);
        }
    }
    EXPECT_EQ(group.boundsMin, low);
    EXPECT_EQ(group.boundsMax, high);
    for (int i = 0; i < 3 * 2116; ++i) {
        std::size_t at = kTestMeshIndices + 2 * i;
        ASSERT_EQ(group.faces[i], bytes[at] | bytes[at + 1] << 8) << i;
    }
}

TEST(GmdcReader, ReadsTheTeapot) {
    ImportedModel model;
    ASSERT_EQ(readInto(model,
                       readModelFile(ModelFormat::Gmdc,
                                     test::samplePath("gmdc/teapot_model.extracted.5gd").string())),
              std::nullopt);
    ASSERT_EQ(model.groupCount(), 1);
    const ModelGroup& group = model.groups[0];
    EXPECT_EQ(group.name, "teapot");
    EXPECT_EQ(group.vertexCount(), 13248);
    EXPECT_EQ(group.faceCount(), 6320);
    // The classic teapot: 3.15 high, 4 wide, from handle (-3) to spout (3.434).
    const std::array<float, 3> low{-2, 0, -3};
    const std::array<float, 3> high{2, 3.15f, 3.434f};
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(group.boundsMin[axis], low[axis], 1e-5) << axis;
        EXPECT_NEAR(group.boundsMax[axis], high[axis], 1e-5) << axis;
    }
    EXPECT_EQ(warningLog, "");
    for (int i = 0; i < 3 * group.faceCount(); ++i) {
        ASSERT_LT(group.faces[i], 13248);
    }
}

TEST(GmdcReader, SamplesTruncatedAnywhereFail) {
    for (const char* sample : {"gmdc/TestMesh.5gd", "gmdc/teapot_model.extracted.5gd"}) {
        std::vector<std::uint8_t> bytes = test::fileBytes(test::samplePath(sample).string());
        for (std::size_t length : test::sweepLengths(bytes.size(), 1024, 4999, 256)) {
            ImportedModel model;
            ASSERT_TRUE(readInto(model, readGmdcData(sample, test::prefix(bytes, length))))
                << sample << " " << length;
            ASSERT_TRUE(model.groups.empty());
        }
    }
}

TEST(GmdcReader, VersionsAndHeaderForms) {
    struct Case {
        std::uint32_t version;
        bool longHeader;
    };
    const Case cases[] = {{1, false}, {1, true}, {2, false}, {2, true}, {4, false}, {4, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << c.version << " long " << c.longHeader);
        // 32-bit indices keep only their low 16 bits.
        std::uint32_t high = c.version == 4 ? 0 : 0xABCD0000;
        GmdcFile file = simpleGmdc(c.version, 4, {0, 1, 2 | high, 2, 1, 3 | high});
        file.longHeader = c.longHeader;
        file.groups[0].boneCount = 3;
        file.groups.push_back({0, "second", {3, 2, 1}, 0, {}});
        file.jointCount = 2;
        file.namePairs = {{"a", "bc"}, {"", "d"}};
        file.staticMesh = {2, 3};
        file.boundingSets = {{0, 0}, {1, 5}};
        std::vector<std::uint8_t> bytes = file.bytes();
        EXPECT_EQ(bytes[0], c.longHeader ? 1 : 2);
        ImportedModel model;
        ASSERT_EQ(readInto(model, readGmdcData("m.5gd", bytes)), std::nullopt);
        ASSERT_EQ(model.groupCount(), 2);
        const ModelGroup& group = model.groups[0];
        EXPECT_EQ(group.name, "body");
        EXPECT_EQ(group.vertexCount(), 4);
        EXPECT_EQ(group.faceCount(), 2);
        EXPECT_EQ(group.faces, (std::vector<std::uint16_t>{0, 1, 2, 2, 1, 3}));
        EXPECT_EQ(model.groups[1].name, "second");
        EXPECT_EQ(model.groups[1].faces[0], 3);
        // Stored (k, 2k, 3k) becomes (-k, 3k, 2k); both groups share the link's vertices.
        EXPECT_EQ(vec(group.positions, 3), (std::array<float, 3>{-3, 9, 6}));
        EXPECT_EQ(model.groups[1].positions, group.positions);
        EXPECT_EQ(vec(group.normals, 3), (std::array<float, 3>{0, 1, 0}));
        EXPECT_EQ(group.uvs[6], 3);
        EXPECT_EQ(group.uvs[7], -3);
        EXPECT_EQ(group.boundsMin, (std::array<float, 3>{-3, 0, 0}));
        EXPECT_EQ(group.boundsMax, (std::array<float, 3>{0, 9, 6}));
        // Every prefix fails.
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            ASSERT_TRUE(readInto(model, readGmdcData("m.5gd", test::prefix(bytes, length))))
                << length;
        }
    }
}

TEST(GmdcReader, NameLengthUsesItsLowSevenBits) {
    GmdcFile file = simpleGmdc(4, 3, {0, 1, 2});
    file.groups[0].name = std::string(127, 'n');
    std::vector<std::uint8_t> bytes = file.bytes();
    // Set the top bit of the file name's and the group name's length bytes.
    std::size_t header = 67;
    bytes[header] |= 0x80;
    auto at = std::search(bytes.begin(), bytes.end(), file.groups[0].name.begin(),
                          file.groups[0].name.end());
    ASSERT_NE(at, bytes.end());
    *(at - 1) |= 0x80;
    ImportedModel model;
    ASSERT_EQ(readInto(model, readGmdcData("m.5gd", bytes)), std::nullopt);
    EXPECT_EQ(model.groups[0].name, std::string(127, 'n'));
}

TEST(GmdcReader, WarningLogNamesEverySkippedPart) {
    GmdcFile file = simpleGmdc(4, 1, {0, 0, 0});
    const std::uint32_t types[] = {0x1C4AFC56, 0x5C4AFC5C, 0x7C4DEE82, 0xCB6F3A6A, 0xCB7206A1,
                                   0xEB720693, 0x3B83078B, 0x5B830781, 0xBB8307AB, 0xDB830795,
                                   0x9BB38AFB, 0x3BD70105, 0xFBD70111, 0x89D92BA0, 0x69D92B93,
                                   0x5CF2CFE1, 0xDCF2CFDC, 0x114113C3, 0x114113CD};
    for (std::uint32_t type : types) {
        file.elements.push_back({type, std::vector<std::uint8_t>(24, 0x40), {}, 2, 2, {}});
        // Parts of size 0 log nothing.
        file.elements.push_back({type, {}, {}, 7, 0, {}});
    }
    ImportedModel model;
    ASSERT_EQ(read(model, file), std::nullopt);
    EXPECT_EQ(warningLog,
              "WARN: Unhandled Data Type 0x1c4afc56 skipped.\r\n"
              "WARN: Unhandled P1 Extension Block skipped.\r\n"
              "WARN: Unhandled Data Type 0x5c4afc5c skipped.\r\n"
              "WARN: Unhandled P1 Extension Block skipped.\r\n"
              "WARN: Unhandled P1 Extension Block skipped.\r\n"
              "WARN: Unhandled CB7206A1 Block present.\r\n"
              "WARN: Unhandled CB7206A1 Extension Block skipped.\r\n"
              "WARN: Unhandled EB720693 Block present.\r\n"
              "WARN: Unhandled EB720693 Extension Block skipped.\r\n"
              "WARN: Unhandled 3B83078B Extension Block skipped.\r\n"
              "WARN: Unhandled UV Deltas Block present.\r\n"
              "WARN: Unhandled 9BB38AFB Block present.\r\n"
              "WARN: Unhandled 3BD70105 Extension Block skipped.\r\n"
              "WARN: Unhandled FBD70111 Extension Block skipped.\r\n"
              "WARN: Unhandled 69D92B93 Block present.\r\n"
              "WARN: Unhandled 69D92B93 Extension Block skipped.\r\n"
              "WARN: Unhandled DCF2CFDC Extension Block skipped.\r\n"
              "WARN: Unhandled Pets (VertexID) data block in mesh.\r\n"
              "WARN: Unhandled Pets (VertexID) data block in mesh.\r\n"
              "WARN: Unhandled Pets (RegionMask) data block in mesh.\r\n"
              "WARN: Unhandled Pets (RegionMask) data block in mesh.\r\n");
    // The next read starts a new log.
    ASSERT_EQ(read(model, simpleGmdc(4, 1, {0, 0, 0})), std::nullopt);
    EXPECT_EQ(warningLog, "");
}

TEST(GmdcReader, ReadsWholeItemsAndLeavesTheRest) {
    // A position element of 14 bytes: one triple is read, the 2 bytes left belong to the
    // list count that follows.
    GmdcFile file = simpleGmdc(4, 1, {0, 0, 0});
    ByteWriter data;
    data.f32(1).f32(2).f32(3).u16(0);
    file.elements[0] = {0x5B830781, data.bytes(), {}, 0, 0, std::vector<std::uint8_t>{0, 0}};
    ImportedModel model;
    ASSERT_EQ(read(model, file), std::nullopt);
    EXPECT_EQ(vec(model.groups[0].positions, 0), (std::array<float, 3>{-1, 3, 2}));
}

TEST(GmdcReader, TwoReferenceLinkGetsZeroUvs) {
    GmdcFile file = simpleGmdc(4, 3, {0, 1, 2});
    file.links[0].references = {0, 1};
    ImportedModel model;
    ASSERT_EQ(read(model, file), std::nullopt);
    EXPECT_EQ(warningLog, "WARN: Model lacks UVs.\r\n");
    const ModelGroup& group = model.groups[0];
    EXPECT_EQ(group.uvs, std::vector<float>(6, 0.0f));
}

TEST(GmdcReader, LimitsHoldExactly) {
    ImportedModel model;
    auto withElements = [](int extra, std::uint32_t type) {
        GmdcFile file = simpleGmdc(4, 1, {0, 0, 0});
        for (int i = 0; i < extra; ++i) {
            file.elements.push_back({type, {}, {}, 0, 0, {}});
        }
        return file;
    };
    EXPECT_EQ(read(model, withElements(124, 0x5B830781)), std::nullopt);
    EXPECT_EQ(read(model, withElements(125, 0x5B830781)),
              "ERR: Too many P1 sections for this implementation.");
    for (std::uint32_t type : {0x7C4DEE82u, 0xDCF2CFDCu}) {
        EXPECT_EQ(read(model, withElements(63, type)), std::nullopt) << type;
        EXPECT_EQ(read(model, withElements(64, type)), "ERR: Too many target indices in GMDC.")
            << type;
    }

    GmdcFile links = simpleGmdc(4, 1, {0, 0, 0});
    links.links.resize(128, links.links[0]);
    EXPECT_EQ(read(model, links), std::nullopt);
    links.links.push_back(links.links[0]);
    EXPECT_EQ(read(model, links), "ERR: Too many P2 sections for this implementation.");

    GmdcFile references = simpleGmdc(4, 1, {0, 0, 0});
    references.links[0].references.resize(32, 1);
    EXPECT_EQ(read(model, references), std::nullopt);
    references.links[0].references.push_back(1);
    EXPECT_EQ(read(model, references), "ERR: Too many P2 Index List Items.");

    GmdcFile groups = simpleGmdc(4, 1, {0, 0, 0});
    groups.groups.resize(128, groups.groups[0]);
    ASSERT_EQ(read(model, groups), std::nullopt);
    EXPECT_EQ(model.groupCount(), 128);
    groups.groups.push_back(groups.groups[0]);
    EXPECT_EQ(read(model, groups), "ERR: Too many P3 sections for this implementation.");

    GmdcFile bones = simpleGmdc(2, 1, {0, 0, 0});
    bones.groups[0].boneCount = 255;
    EXPECT_EQ(read(model, bones), std::nullopt);
    bones.groups[0].boneCount = 256;
    EXPECT_EQ(read(model, bones), "ERR: Parse Error; too many bone index items");

    GmdcFile joints = simpleGmdc(4, 1, {0, 0, 0});
    joints.jointCount = 128;
    EXPECT_EQ(read(model, joints), std::nullopt);
    joints.jointCount = 129;
    EXPECT_EQ(read(model, joints), "ERR: Too many joints defined in file.");
}

TEST(GmdcReader, EveryErrorMessage) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::string message;
    };
    auto changed = [](auto change) {
        GmdcFile file = simpleGmdc(4, 3, {0, 1, 2});
        change(file);
        return file.bytes();
    };
    std::vector<std::uint8_t> good = simpleGmdc(4, 3, {0, 1, 2}).bytes();
    GmdcFile boundingSet = simpleGmdc(4, 3, {0, 1, 2});
    boundingSet.boundingSets = {{2, 3}};
    const Case cases[] = {
        {"short header", test::prefix(good, 62), "ERR: File read error."},
        {"short long header", test::prefix(good, 66), "ERR: File read error."},
        {"type id", changed([](GmdcFile& f) { f.typeId = 0xAC4F8688; }),
         "ERR: Unknown file type (not 0xAC4F8687)."},
        {"type id where the short header keeps it", changed([](GmdcFile& f) {
             f.longHeader = false;
             f.typeId = 1;
         }),
         "ERR: Unknown file type (not 0xAC4F8687)."},
        {"version 3", changed([](GmdcFile& f) { f.version = 3; }),
         "ERR: Unknown Version ID (not 1, 2 or 4)."},
        {"element count", changed([](GmdcFile& f) { f.elementCount = 0xFFFFFFFF; }),
         "ERR: Too many P1 sections for this implementation."},
        {"element type", changed([](GmdcFile& f) {
             f.elements.push_back({0x12345678, {1, 2}, {}, 0, 0, {}});
         }),
         "Unrecognized Chunk ID 0x12345678 present in slot 3."},
        {"skin weights", changed([](GmdcFile& f) {
             f.elements.push_back({0x3BD70105, {1, 2}, {}, 3, 0, {}});
         }),
         "ERR: Too many Skin Weights"},
        {"link count", changed([](GmdcFile& f) { f.linkCount = 129; }),
         "ERR: Too many P2 sections for this implementation."},
        {"reference count", changed([](GmdcFile& f) { f.links[0].referenceCount = 0x80000000; }),
         "ERR: Too many P2 Index List Items."},
        {"no references", changed([](GmdcFile& f) { f.links[0].references.clear(); }),
         "ERR: Model lacks vertices."},
        {"one reference", changed([](GmdcFile& f) { f.links[0].references = {0}; }),
         "ERR: Model lacks normals."},
        {"reference past the elements", changed([](GmdcFile& f) { f.links[0].references[2] = 3; }),
         "ERR: P2 Index List Item 3 out of range, 3 P1 sections present."},
        {"negative reference", changed([](GmdcFile& f) { f.links[0].references[1] = -1; }),
         "ERR: P2 Index List Item -1 out of range, 3 P1 sections present."},
        {"extension word", changed([](GmdcFile& f) { f.links[0].extension[2] = 1; }),
         "ERR: Unimplemented P2 Extension block present."},
        {"group count", changed([](GmdcFile& f) { f.groupCount = 129; }),
         "ERR: Too many P3 sections for this implementation."},
        {"group link past the links", changed([](GmdcFile& f) { f.groups[0].link = 1; }),
         "ERR: Too Few units to build model"},
        {"bone count", changed([](GmdcFile& f) { f.groups[0].boneCount = 1000; }),
         "ERR: Parse Error; too many bone index items"},
        {"joint count", changed([](GmdcFile& f) { f.jointCount = 1000; }),
         "ERR: Too many joints defined in file."},
        {"two morph maps", changed([](GmdcFile& f) {
             f.elements.push_back({0xDCF2CFDC, {1, 2, 3}, {}, 0, 0, {}});
             f.elements.push_back({0xDCF2CFDC, {}, {}, 0, 0, {}});
             f.links[0].references.insert(f.links[0].references.end(), {3, 4});
         }),
         "More than one morph map present for model."},
        {"no vertices", changed([](GmdcFile& f) { f.links[0].vertexCount = 0; }),
         "ERR: Empty model. No Verts."},
        {"no indices", changed([](GmdcFile& f) { f.groups[0].indices.clear(); }),
         "ERR: Empty model. No faces."},
        {"position element without data", changed([](GmdcFile& f) { f.elements[0].data.clear(); }),
         "ERR: NULL vertice array pointer."},
        {"normal element skipped", changed([](GmdcFile& f) { f.elements[1].type = 0xCB7206A1; }),
         "ERR: NULL normals array pointer."},
        {"texture-coordinate element skipped",
         changed([](GmdcFile& f) { f.elements[2].type = 0x9BB38AFB; }),
         "ERR: NULL UV array pointer."},
        {"too few positions", changed([](GmdcFile& f) { f.elements[0].data.resize(24); }),
         "ERR: P1 section 0 too short, expected 3 items, 2 found."},
        {"too few normals", changed([](GmdcFile& f) { f.elements[1].data.resize(12); }),
         "ERR: P1 section 1 too short, expected 3 items, 1 found."},
        {"too few texture coordinates", changed([](GmdcFile& f) { f.elements[2].data.resize(16); }),
         "ERR: P1 section 2 too short, expected 3 items, 2 found."},
        {"texture coordinates read as 8-byte items", changed([](GmdcFile& f) {
             f.links[0].references[2] = 0;
             f.links[0].vertexCount = 4;
         }),
         "ERR: P1 section 0 too short, expected 4 items, 3 found."},
        {"face index at the vertex count", changed([](GmdcFile& f) { f.groups[0].indices[2] = 3; }),
         "ERR: Face index range error in group 0, found 0003, max = 0003."},
        {"data past the end", changed([](GmdcFile& f) { f.elements[0].dataSize = 0x7FFFFFF8; }),
         "ERR: File read error."},
        {"skipped data past the end", changed([](GmdcFile& f) {
             f.elements.push_back({0xCB7206A1, {}, 0xFFFFFFFF, 0, 0, {}});
         }),
         "ERR: File read error."},
        {"list past the end", changed([](GmdcFile& f) {
             f.elements[2].afterData = {{0, 0, 0, 9}};
         }),
         "ERR: File read error."},
        {"indices past the end", changed([](GmdcFile& f) { f.groups[0].indexCount = 0xFFFFFFFF; }),
         "ERR: File read error."},
        {"last bounding set cut short",
         test::prefix(boundingSet.bytes(), boundingSet.bytes().size() - 1),
         "ERR: File read error."},
    };
    for (const Case& c : cases) {
        ImportedModel model;
        EXPECT_EQ(readInto(model, readGmdcData("model.5gd", c.bytes)), c.message) << c.what;
        EXPECT_TRUE(model.groups.empty()) << c.what;
    }
    ImportedModel model;
    EXPECT_EQ(readInto(model, readModelFile(ModelFormat::Gmdc, "/nonexistent/model.5gd")),
              "ERR: File missing or damaged.");
}

}  // namespace
}  // namespace verada
