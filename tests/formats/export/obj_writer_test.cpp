#include "formats/export/obj_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/formats/export/export_peers.h"
#include "tests/formats/export/export_test_scene.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

using Vector = std::array<double, 3>;

// The "v", "vt" and "vn" entries and the "f" lines of an OBJ text, each list in file order.
struct ObjContent {
    std::map<std::string, std::vector<Vector>> entries;
    std::vector<std::string> faces;
};

ObjContent parseObj(const std::string& text) {
    ObjContent content;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string keyword;
        fields >> keyword;
        if (keyword == "v" || keyword == "vt" || keyword == "vn") {
            Vector values{};
            fields >> values[0] >> values[1];
            if (keyword != "vt") {
                fields >> values[2];
            }
            content.entries[keyword].push_back(values);
        } else if (keyword == "f") {
            content.faces.push_back(line);
        }
    }
    return content;
}

void expectNear(const Vector& actual, const Vector& expected, const char* what) {
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(actual[axis], expected[axis], 1e-6) << what << " axis " << axis;
    }
}

TEST(ObjWriter, WritesTheSceneInWorldSpace) {
    const Result<ObjFiles> written = writeObjScene(test::exportTestScene(), "scene.mtl");
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(written.warnings(), std::vector<std::string>{"WARN: Submesh Broken of mesh box holds "
                                                           "an index past its 3 vertices and is "
                                                           "left out."});
    const std::string& obj = written->obj;
    EXPECT_EQ(obj.rfind("mtllib scene.mtl\no crate\nv ", 0), 0u);
    EXPECT_NE(obj.find("\ng Quad\nusemtl Crate\nf 1/1/1 2/2/2 3/3/3\nf 1/1/1 3/3/3 4/4/4\n"),
              std::string::npos);
    // The triangle has no normals: its corners leave them out.
    EXPECT_NE(obj.find("\ng Tri\nusemtl Glass\nf 5/5 6/6 7/7\no crate0\n"), std::string::npos);
    // Each list counts on its own: the second crate's normals follow the first one's four.
    EXPECT_NE(obj.find("\ng Quad\nusemtl Crate\nf 8/8/5 9/9/6 10/10/7\n"), std::string::npos);
    EXPECT_EQ(obj.find("ghost"), std::string::npos);
    EXPECT_EQ(obj.find("groundplane"), std::string::npos);

    const ObjContent content = parseObj(obj);
    const std::vector<Vector>& v = content.entries.at("v");
    const std::vector<Vector>& vt = content.entries.at("vt");
    const std::vector<Vector>& vn = content.entries.at("vn");
    // crate, 7 vertices, 4 with normals; crate0 the same; tile, 4.
    ASSERT_EQ(v.size(), 18u);
    ASSERT_EQ(vt.size(), 18u);
    ASSERT_EQ(vn.size(), 12u);
    // "turned": scaled by (2, 0.5, 1), turned so that x goes to -z and z to x, moved by (1, 2, 3).
    expectNear(v[0], {1, 2, 3}, "quad vertex 0");
    expectNear(v[1], {1, 2, 1}, "quad vertex 1");
    expectNear(v[2], {1, 2.5, 1}, "quad vertex 2");
    expectNear(v[4], {2, 2, 3}, "triangle vertex 0");
    // "moved" only moves by (-4, 0, 0.5).
    expectNear(v[7], {-4, 0, 0.5}, "second crate vertex 0");
    expectNear(v[8], {-3, 0, 0.5}, "second crate vertex 1");
    // OBJ's texture origin is the bottom left.
    expectNear(vt[0], {0.25, 0.25, 0}, "uv 0");
    expectNear(vt[1], {1, 0, 0}, "uv 1");
    // Normals go by the inverse transpose: (1, 1, 0) scaled becomes (0.5, 2, 0), then turned.
    expectNear(vn[1], {1, 0, 0}, "repaired zero normal");
    expectNear(vn[3], {0, 2 / std::sqrt(4.25), -0.5 / std::sqrt(4.25)}, "diagonal normal");
    for (const Vector& normal : vn) {
        EXPECT_NEAR(
            std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]), 1,
            1e-6);
    }

    EXPECT_EQ(written->mtl,
              "newmtl Crate\nKd 0.9 0.8 0.7\nmap_Kd RustyBarrel.png\n\n"
              "newmtl Glass\nKd 0.2 0.4 1\nd 0.5\n\n"
              "newmtl Lost\nKd 1 1 1\nmap_Kd missing.png\n\n");
}

TEST(ObjWriter, AssimpReadsTheFacesBack) {
    test::TempDir folder;
    const Result<ObjFiles> written = writeObjScene(test::exportTestScene(), "scene.mtl");
    ASSERT_TRUE(written.ok());
    test::writeFile(folder / "scene.obj", written->obj);
    test::writeFile(folder / "scene.mtl", written->mtl);
    std::vector<std::pair<int, int>> counts;
    for (const test::AssimpMesh& mesh : test::assimpMeshes(folder / "scene.obj")) {
        counts.emplace_back(mesh.vertices, mesh.faces);
    }
    std::sort(counts.begin(), counts.end());
    // Assimp gives every face its own three vertices: each crate's quad and triangle, the tile.
    EXPECT_EQ(counts, (std::vector<std::pair<int, int>>{{3, 1}, {3, 1}, {6, 2}, {6, 2}, {6, 2}}));
}

}  // namespace
}  // namespace verada
