#include "formats/model/gmdl_reader.h"
#include "formats/io/byte_writer.h"
#include "formats/model/model_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tests/support/gmdl_writer.h"
#include "tests/support/model_read.h"
#include "tests/support/test_paths.h"
#include "tests/support/truncation.h"

namespace verada {
namespace {

using test::GmdlFile;
using test::simpleGmdl;

std::optional<std::string> read(ImportedModel& model, const GmdlFile& file,
                                const std::string& name = "model.gmdl") {
    return test::readInto(model, readGmdlData(name, file.bytes()));
}

std::array<float, 3> vec(const std::vector<float>& values, int k) {
    return {values[3 * k], values[3 * k + 1], values[3 * k + 2]};
}

float floatAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    float value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// Megamouth.gmdl layout: 24 header entries, two index groups, 36-byte vertices.
constexpr std::size_t kMegamouthPool = 104920;
constexpr std::size_t kMegamouthVertexSize = 36;
constexpr std::size_t kMegamouthPoolEnd = 487060;
constexpr std::size_t kMegamouthIndices[2] = {348, 51112};

TEST(GmdlReader, ReadsMegamouth) {
    std::string path = test::samplePath("gmdl/Megamouth.gmdl").string();
    std::vector<std::uint8_t> bytes = test::fileBytes(path);
    ImportedModel model;
    ASSERT_EQ(test::readInto(model, readModelFile(ModelFormat::Gmdl, path)), std::nullopt);
    EXPECT_EQ(model.fileName, path);
    ASSERT_EQ(model.groupCount(), 2);

    const int first[2] = {0, 5210};
    const int vertexCounts[2] = {5210, 5405};
    const int faceCounts[2] = {25374 / 3, 26856 / 3};
    for (int g = 0; g < 2; ++g) {
        SCOPED_TRACE(g);
        const ModelGroup& group = model.groups[g];
        EXPECT_EQ(group.name, g == 0 ? "GMDL-unnamed.00" : "GMDL-unnamed.01");
        ASSERT_EQ(group.vertexCount(), vertexCounts[g]);
        ASSERT_EQ(group.faceCount(), faceCounts[g]);

        std::array<float, 3> low{0, 0, 0};
        std::array<float, 3> high{0, 0, 0};
        for (int k = 0; k < group.vertexCount(); ++k) {
            std::size_t at = kMegamouthPool + (first[g] + k) * kMegamouthVertexSize;
            std::array<float, 3> stored{floatAt(bytes, at), floatAt(bytes, at + 4),
                                        floatAt(bytes, at + 8)};
            std::array<float, 3> expected{stored[0], stored[2], -stored[1]};
            ASSERT_EQ(vec(group.positions, k), expected) << k;
            for (int axis = 0; axis < 3; ++axis) {
                low[axis] = std::min(low[axis], expected[axis]);
                high[axis] = std::max(high[axis], expected[axis]);
            }
            // The normal's bytes follow the position; the texture coordinate follows them.
            float n0 = (bytes[at + 12] - 127.5f) / 127.5f;
            float n1 = (bytes[at + 13] - 127.5f) / 127.5f;
            float n2 = (bytes[at + 14] - 127.5f) / 127.5f;
            ASSERT_EQ(vec(group.normals, k), (std::array<float, 3>{n0, n2, -n1})) << k;
            float length = std::sqrt(n0 * n0 + n1 * n1 + n2 * n2);
            ASSERT_NEAR(length, 1.0f, 0.03f) << k;
            ASSERT_EQ(group.uvs[2 * k], floatAt(bytes, at + 16)) << k;
            ASSERT_EQ(group.uvs[2 * k + 1], floatAt(bytes, at + 20)) << k;
        }
        EXPECT_EQ(group.boundsMin, low);
        EXPECT_EQ(group.boundsMax, high);
        for (int i = 0; i < 3 * group.faceCount(); ++i) {
            std::size_t at = kMegamouthIndices[g] + 2 * i;
            int stored = bytes[at] | bytes[at + 1] << 8;
            ASSERT_EQ(group.faces[i], stored - first[g]) << i;
        }
    }
}

TEST(GmdlReader, MegamouthTruncatedAnywhereBeforeThePoolEndFails) {
    std::vector<std::uint8_t> bytes =
        test::fileBytes(test::samplePath("gmdl/Megamouth.gmdl").string());
    for (std::size_t length : test::sweepLengths(kMegamouthPoolEnd, 1024, 4999, 128)) {
        ImportedModel model;
        std::optional<std::string> error =
            test::readInto(model, readGmdlData("Megamouth.gmdl", test::prefix(bytes, length)));
        ASSERT_TRUE(error) << length;
        ASSERT_TRUE(model.groups.empty()) << length;
    }
    // The trailer after the pool is not read.
    for (std::size_t length : {kMegamouthPoolEnd, kMegamouthPoolEnd + 1, bytes.size() - 1}) {
        ImportedModel model;
        EXPECT_EQ(
            test::readInto(model, readGmdlData("Megamouth.gmdl", test::prefix(bytes, length))),
            std::nullopt);
    }
}

TEST(GmdlReader, Version7ReadsLikeVersion8) {
    GmdlFile file = simpleGmdl(4, {0, 1, 2, 2, 1, 3});
    ImportedModel eight;
    ASSERT_EQ(read(eight, file), std::nullopt);
    file.version = 7;
    ImportedModel seven;
    ASSERT_EQ(read(seven, file), std::nullopt);
    EXPECT_EQ(file.bytes().size(), GmdlFile(simpleGmdl(4, {0, 1, 2, 2, 1, 3})).bytes().size() + 4);
    ASSERT_EQ(seven.groupCount(), 1);
    EXPECT_EQ(seven.groups[0].positions, eight.groups[0].positions);
    EXPECT_EQ(seven.groups[0].uvs, eight.groups[0].uvs);
    EXPECT_EQ(seven.groups[0].faces, eight.groups[0].faces);
}

TEST(GmdlReader, GroupsTakeOnlyTheirVerticesRebased) {
    GmdlFile file = simpleGmdl(16, {10, 11, 12, 12, 11, 13});
    file.groups.push_back({{3, 1, 2}, {}, {}});
    ImportedModel model;
    ASSERT_EQ(read(model, file), std::nullopt);
    ASSERT_EQ(model.groupCount(), 2);
    const ModelGroup& group = model.groups[0];
    EXPECT_EQ(group.vertexCount(), 4);
    EXPECT_EQ(group.faceCount(), 2);
    EXPECT_EQ(group.faces, (std::vector<std::uint16_t>{0, 1, 2, 2, 1, 3}));
    // Pool entry k sits at (k, 2k, 3k), which the axis mapping turns into (k, 3k, -2k).
    for (int k = 0; k < 4; ++k) {
        float f = static_cast<float>(10 + k);
        EXPECT_EQ(vec(group.positions, k), (std::array<float, 3>{f, 3 * f, -2 * f}));
        EXPECT_EQ(vec(group.normals, k), (std::array<float, 3>{0, 1, 0}));
        EXPECT_FLOAT_EQ(group.uvs[2 * k], f / 10);
    }
    EXPECT_EQ(group.boundsMin, (std::array<float, 3>{0, 0, -26}));
    EXPECT_EQ(group.boundsMax, (std::array<float, 3>{13, 39, 0}));
    EXPECT_EQ(model.groups[1].vertexCount(), 3);
    EXPECT_EQ(model.groups[1].faces, (std::vector<std::uint16_t>{2, 0, 1}));
}

TEST(GmdlReader, LeftoverIndexIsNotKept) {
    ImportedModel model;
    ASSERT_EQ(read(model, simpleGmdl(3, {0, 1, 2, 2, 1, 0, 1})), std::nullopt);
    EXPECT_EQ(model.groups[0].faceCount(), 2);
    EXPECT_EQ(model.groups[0].faces, (std::vector<std::uint16_t>{0, 1, 2, 2, 1, 0}));
}

TEST(GmdlReader, GroupNamesComeFromUnpackedFileNames) {
    struct Case {
        std::string fileName;
        std::string firstName;
    };
    const Case cases[] = {
        {"KL-GMDL-00000000-1A2B3C4D-5E6F7A8B.gmdl", "GMDL-1A2B3C4D-5E6F7A8B.00"},
        {"some/dir/KL-GMDL-00000000-1A2B3C4D-5E6F7A8B.gmdl", "GMDL-1A2B3C4D-5E6F7A8B.00"},
        {"KL-GMDL-00000000-1A2B3C4D-5E6F7A8B-EXTRA.gmdl", "GMDL-1A2B3C4D-5E6F7A8B.00"},
        {"KL-GMDL-00000000.gmdl", "GMDL-.00"},
        {"KL-GMDL-00000000A.gmdl", "GMDL-.00"},
        {"KL-GMDL-00000000-B.gmdl", "GMDL-B.00"},
        {"KL-GMDL", "GMDL-.00"},
        {"kl-gmdl-00000000-1A2B3C4D-5E6F7A8B.gmdl", "GMDL-unnamed.00"},
        {"creature.gmdl", "GMDL-unnamed.00"},
    };
    GmdlFile file = simpleGmdl(3, {0, 1, 2});
    file.groups.push_back({{0, 1, 2}, {}, {}});
    for (const Case& c : cases) {
        ImportedModel model;
        ASSERT_EQ(read(model, file, c.fileName), std::nullopt) << c.fileName;
        EXPECT_EQ(model.fileName, c.fileName);
        EXPECT_EQ(model.groups[0].name, c.firstName) << c.fileName;
        std::string second = c.firstName.substr(0, c.firstName.size() - 2) + "01";
        EXPECT_EQ(model.groups[1].name, second) << c.fileName;
    }
}

std::vector<std::uint8_t> floats(std::initializer_list<float> values) {
    ByteWriter out;
    for (float value : values) {
        out.f32(value);
    }
    return out.bytes();
}

TEST(GmdlReader, VertexFieldsByTypeAndUsage) {
    struct Case {
        const char* what;
        std::vector<test::GmdlField> fields;
        std::vector<std::uint8_t> vertex;
        std::array<float, 3> position;
        std::array<float, 3> normal;
        std::array<float, 2> uv;
    };
    const float half = (191 - 127.5f) / 127.5f;
    const Case cases[] = {
        {"floats",
         {{2, 0}, {2, 2}, {1, 6}},
         floats({1, 2, 3, 4, 5, 6, 7, 8}),
         {1, 3, -2},
         {4, 6, -5},
         {7, 8}},
        {"four floats, fourth ignored", {{3, 0}}, floats({1, 2, 3, 9}), {1, 3, -2}, {}, {}},
        {"missing values are 0",
         {{0, 0}, {1, 2}, {0, 6}},
         floats({1, 4, 5, 7}),
         {1, 0, 0},
         {4, 0, -5},
         {7, 0}},
        {"four-byte normal", {{5, 2}}, {255, 0, 191, 7}, {}, {1, half, 1}, {}},
        {"four-byte normal, type code 13",
         {{13, 2}},
         {0, 255, 127, 0},
         {},
         {-1, (127 - 127.5f) / 127.5f, -1},
         {}},
        {"16-bit position gives zeros", {{6, 0}}, {1, 2, 3, 4, 5, 6}, {}, {}, {}},
        {"16-bit texture coordinate gives zeros", {{5, 6}}, {1, 2, 3, 4}, {}, {}, {}},
        {"other 16-bit normal gives zeros",
         {{4, 2}, {7, 2}},
         std::vector<std::uint8_t>(10, 9),
         {},
         {},
         {}},
        {"other usages ignored",
         {{2, 0x13}, {2, 1}, {0, 0xF}},
         floats({1, 2, 3, 4, 5, 6, 7}),
         {},
         {},
         {}},
        {"fields in any order",
         {{1, 6}, {2, 2}, {2, 0}},
         floats({7, 8, 4, 5, 6, 1, 2, 3}),
         {1, 3, -2},
         {4, 6, -5},
         {7, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GmdlFile file;
        file.fields = c.fields;
        file.vertexCount = 1;
        file.pool = c.vertex;
        file.groups.push_back({{0, 0, 0}, {}, {}});
        ImportedModel model;
        ASSERT_EQ(read(model, file), std::nullopt);
        const ModelGroup& group = model.groups[0];
        EXPECT_EQ(vec(group.positions, 0), c.position);
        EXPECT_EQ(vec(group.normals, 0), c.normal);
        EXPECT_EQ(group.uvs[0], c.uv[0]);
        EXPECT_EQ(group.uvs[1], c.uv[1]);
    }
}

TEST(GmdlReader, LimitsHoldExactly) {
    // 127 groups are read, 128 refused.
    GmdlFile groups = simpleGmdl(3, {0, 1, 2});
    groups.groups.resize(127, groups.groups[0]);
    ImportedModel model;
    ASSERT_EQ(read(model, groups), std::nullopt);
    EXPECT_EQ(model.groupCount(), 127);
    EXPECT_EQ(model.groups[126].name, "GMDL-unnamed.126");
    groups.groups.push_back(groups.groups[0]);
    EXPECT_EQ(read(model, groups), "ERR: Max 128 groups for implementation, found 128.");

    // 12 fields are read, 13 refused.
    GmdlFile fields = simpleGmdl(1, {0, 0, 0});
    fields.fields.assign(12, {0, 0x20});
    fields.pool.assign(48, 0);
    ASSERT_EQ(read(model, fields), std::nullopt);
    fields.fields.push_back({0, 0x20});
    fields.pool.assign(52, 0);
    EXPECT_EQ(read(model, fields), "ERR: Max 12 vertex fields for implementation, found 13.");

    // 65534 vertices are read (without fields the pool is empty), 65535 refused.
    GmdlFile vertices;
    vertices.fields.clear();
    vertices.vertexCount = 65534;
    vertices.groups.push_back({{0, 65533, 1}, {}, {}});
    ASSERT_EQ(read(model, vertices), std::nullopt);
    EXPECT_EQ(model.groups[0].vertexCount(), 65534);
    vertices.vertexCount = 65535;
    EXPECT_EQ(read(model, vertices), "ERR: Max 65535 vertices for implementation, found 65535.");

    // 196608 indices in one group are read, 196609 refused.
    GmdlFile indices = simpleGmdl(3, std::vector<std::uint16_t>(196608, 2));
    ASSERT_EQ(read(model, indices), std::nullopt);
    EXPECT_EQ(model.groups[0].faceCount(), 65536);
    EXPECT_EQ(model.groups[0].vertexCount(), 1);
    indices.groups.insert(indices.groups.begin(), {{0, 1, 2}, {}, {}});
    indices.groups[1].indices.push_back(2);
    EXPECT_EQ(read(model, indices), "ERR: Face point count max = 196608, found 196609 in group 1.");
}

TEST(GmdlReader, EveryErrorMessage) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::string message;
    };
    auto changed = [](auto change) {
        GmdlFile file = simpleGmdl(3, {0, 1, 2});
        change(file);
        return file.bytes();
    };
    std::vector<std::uint8_t> good = simpleGmdl(3, {0, 1, 2}).bytes();
    const Case cases[] = {
        {"short version", test::prefix(good, 3), "ERR: File read error."},
        {"short entry count", test::prefix(good, 7), "ERR: File Read Error"},
        {"version 9", changed([](GmdlFile& f) { f.version = 9; }),
         "ERR: Expected version 7 or 8, found 00000009 instead."},
        {"version 0x10000008", changed([](GmdlFile& f) { f.version = 0x10000008; }),
         "ERR: Expected version 7 or 8, found 10000008 instead."},
        {"huge group count", changed([](GmdlFile& f) { f.groupCount = 0xFFFFFFFF; }),
         "ERR: Max 128 groups for implementation, found -1."},
        {"format type", changed([](GmdlFile& f) { f.formatType = 2; }),
         "ERR: Vertex Format type wrong, found 00000002."},
        {"field count", changed([](GmdlFile& f) { f.fieldCount = 0x80000000; }),
         "ERR: Max 12 vertex fields for implementation, found -2147483648."},
        {"negative vertex count", changed([](GmdlFile& f) { f.vertexCount = 0xFFFFFFFF; }),
         "ERR: Max 65535 vertices for implementation, found -1."},
        {"pool size", changed([](GmdlFile& f) { f.poolSize = 3 * 32 + 1; }),
         "ERR: Vertex pool size / vertex count mismatch."},
        {"face point count", changed([](GmdlFile& f) {
             f.groups[0].indexCount = 196609;
             f.groups[0].byteSize = 6;
         }),
         "ERR: Face point count max = 196608, found 196609 in group 0."},
        {"byte size", changed([](GmdlFile& f) {
             f.groups[0].indexCount = 4;
             f.groups[0].byteSize = 6;
         }),
         "ERR: Face group must be short index only."},
        {"empty group", changed([](GmdlFile& f) {
             f.groups.push_back({{}, {}, {}});
         }),
         "ERR: Empty face group 1. No face points."},
        {"pool cut short", test::prefix(good, good.size() - 1), "ERR: File read error."},
    };
    for (const Case& c : cases) {
        ImportedModel model;
        EXPECT_EQ(test::readInto(model, readGmdlData("model.gmdl", c.bytes)), c.message) << c.what;
        EXPECT_TRUE(model.groups.empty()) << c.what;
    }
    ImportedModel model;
    EXPECT_EQ(
        test::readInto(model, readModelFile(ModelFormat::Gmdl, "/nonexistent/folder/model.gmdl")),
        "ERR: File missing or damaged.");
    test::TempDir dir;
    EXPECT_EQ(test::readInto(model, readModelFile(ModelFormat::Gmdl, dir.path().string())),
              "ERR: File missing or damaged.");
}

TEST(GmdlReader, ReadsFromDisk) {
    test::TempDir dir;
    std::vector<std::uint8_t> bytes = simpleGmdl(3, {0, 1, 2}).bytes();
    std::string path = (dir / "KL-GMDL-00000000-11111111-22222222.gmdl").string();
    test::writeFile(path, std::string(bytes.begin(), bytes.end()));
    ImportedModel model;
    ASSERT_EQ(test::readInto(model, readModelFile(ModelFormat::Gmdl, path)), std::nullopt);
    EXPECT_EQ(model.groups[0].name, "GMDL-11111111-22222222.00");
}

TEST(GmdlReader, EveryPrefixOfBuiltFilesFails) {
    for (std::uint32_t version : {7u, 8u}) {
        GmdlFile file = simpleGmdl(5, {0, 1, 2, 2, 3, 4});
        file.version = version;
        file.groups.push_back({{4, 3, 2}, {}, {}});
        file.fields.push_back({5, 2});
        file.fields.push_back({6, 0x13});
        file.pool.clear();
        for (int k = 0; k < 5; ++k) {
            file.pool.insert(file.pool.end(), 32 + 4 + 6, static_cast<std::uint8_t>(k));
        }
        std::vector<std::uint8_t> bytes = file.bytes();
        ImportedModel model;
        ASSERT_EQ(test::readInto(model, readGmdlData("m.gmdl", bytes)), std::nullopt);
        for (std::size_t length = 0; length < bytes.size(); ++length) {
            ASSERT_TRUE(test::readInto(model, readGmdlData("m.gmdl", test::prefix(bytes, length))))
                << length;
        }
    }
}

}  // namespace
}  // namespace verada
