#include "formats/scenefile/rts_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "formats/io/printf_text.h"
#include "tests/formats/scenefile/rts_written_text.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

using test::writtenRtsText;

// Pieces of generated scene files; "\n" line ends, which the reader takes as well as "\r\n".
std::string sceneFile(const std::string& nodes, const std::string& meshes = "") {
    return "[RTSData]\nRTSVersion=1\n[SceneNodes]\n" + nodes + meshes;
}

std::string nodeEntries(const std::vector<std::vector<std::string>>& nodeMeshes) {
    std::string text = printfText("NumSceneNodes=%zu\n", nodeMeshes.size());
    for (std::size_t n = 0; n < nodeMeshes.size(); ++n) {
        text += printfText("SN%02zuName=node%zu\nSN%02zuMeshCount=%zu\n", n, n, n,
                           nodeMeshes[n].size());
        for (std::size_t k = 0; k < nodeMeshes[n].size(); ++k) {
            text += printfText("SN%02zuMesh%02zuName=%s\n", n, k, nodeMeshes[n][k].c_str());
        }
    }
    return text;
}

std::string vertexLines(const std::string& prefix, int count, const char* values = "1 2 3") {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += printfText("%s%05d=%s\n", prefix.c_str(), i, values);
    }
    return text;
}

std::string faceLines(const std::string& prefix, int count, const char* indices = "0 1 2") {
    return vertexLines(prefix, count, indices);
}

// A mesh of one submesh with its own vertices; the keys come before the runs.
std::string meshSection(const std::string& name, int vertices, int faces, const std::string& runs,
                        const std::string& extraKeys = "") {
    return printfText(
               "[Mesh:%s]\nNumSubMeshes=1\nSM00UseSharedVertices=0\nSM00VertexCount=%d\n"
               "SM00FaceCount=%d\n",
               name.c_str(), vertices, faces) +
           extraKeys + runs;
}

std::string validMesh(const std::string& name, int vertices = 3, int faces = 1) {
    return meshSection(name, vertices, faces,
                       vertexLines("SM00V", vertices) + faceLines("SM00F", faces));
}

std::string errorOf(const Result<RtsScene>& read) {
    return read ? read->error : read.error();
}

const SubmeshSnapshot& firstSubmesh(const RtsScene& read, std::size_t mesh = 0) {
    return read.scene.meshes.at(mesh).submeshes.at(0);
}

struct Case {
    const char* what;
    std::string file;
    std::string error;
    std::function<void(const RtsScene&)> check;
};

std::vector<Case> cases() {
    std::string oneNode = nodeEntries({{"m"}});
    std::string longName(300, 'n');
    std::string wide = "123456789012345678901234567890.000000";
    std::string wideValues = wide;
    for (int i = 1; i < 8; ++i) {
        wideValues += " -" + wide;
    }
    return {
        {"no version", "[RTSData]\nRetainTraceFile=1\n", "ERR: Unrecognized file format", {}},
        {"version 2",
         sceneFile(oneNode, validMesh("m")),
         "You need a newer program version to use this file",
         {}},
        {"node name missing", sceneFile("NumSceneNodes=3\nSN00Name=a\nSN02Name=c\n"),
         "ERR: SceneNode index 1 name missing.",
         [](const RtsScene& r) { ASSERT_EQ(r.scene.nodes.size(), 1u); }},
        {"mesh name missing",
         sceneFile("NumSceneNodes=1\nSN00Name=n\nSN00MeshCount=2\nSN00Mesh00Name=m\n",
                   validMesh("m")),
         "ERR: SceneNode index 0 mesh index 1 name missing.",
         [](const RtsScene& r) {
             ASSERT_EQ(r.scene.nodes.size(), 1u);
             EXPECT_EQ(r.scene.nodes[0].objects.size(), 1u);
         }},
        {"own vertices not declared",
         sceneFile(oneNode, "[Mesh:m]\nNumSubMeshes=1\n"),
         "ERR: Mesh:m submesh 0 failed SharedVertex sanity test.",
         {}},
        {"section found only case-insensitively",
         sceneFile(oneNode, validMesh("M")),
         "ERR: Tag \"[Mesh:m]\" not located for vertex read.",
         {}},
        {"faces without vertices, header not found",
         sceneFile(oneNode, meshSection("M", 0, 1, "")),
         "ERR: Tag \"[Mesh:m]\" not located for face read.",
         {}},
        {"no vertex run",
         sceneFile(oneNode, meshSection("m", 3, 0, "")),
         "ERR: Vertex tag \"SM00V00000\" not located.",
         {}},
        {"no face run",
         sceneFile(oneNode, meshSection("m", 3, 1, vertexLines("SM00V", 3))),
         "ERR: Face tag \"SM00F00000\" not located.",
         {}},
        {"file ends in vertex run",
         sceneFile(oneNode, meshSection("m", 3, 0, vertexLines("SM00V", 2))),
         "ERR: File end before vertex read completed",
         {}},
        {"file ends in face run",
         sceneFile(oneNode,
                   meshSection("m", 3, 2, vertexLines("SM00V", 3) + faceLines("SM00F", 1))),
         "ERR: File end before face read completed",
         {}},
        {"gap in run",
         sceneFile(oneNode,
                   meshSection("m", 3, 0,
                               vertexLines("SM00V", 2) + "Other=1\n" + vertexLines("SM00V", 3))),
         "ERR: Unable to located line tagged \"SM00V00002\"",
         {}},
        {"negative count",
         sceneFile(oneNode, meshSection("m", -1, 0, "")),
         "ERR: Bad count SM00VertexCount=-1 in [Mesh:m].",
         {}},
        {"face line with two indices",
         sceneFile(oneNode,
                   meshSection("m", 3, 1, vertexLines("SM00V", 3) + faceLines("SM00F", 1, "0 1"))),
         "ERR: Bad face line tagged \"SM00F00000\".",
         {}},
        {"face index past the vertices",
         sceneFile(oneNode, meshSection("m", 3, 1,
                                        vertexLines("SM00V", 3) + faceLines("SM00F", 1, "0 1 3"))),
         "ERR: Bad face line tagged \"SM00F00000\".",
         {}},
        {"mesh listed twice", sceneFile(nodeEntries({{"m"}, {"m"}}), validMesh("m")),
         "ERR: Mesh name \"m\" is already in use.",
         [](const RtsScene& r) {
             ASSERT_EQ(r.scene.nodes.size(), 2u);
             EXPECT_EQ(r.scene.nodes[1].objects.size(), 0u);
         }},
        {"huge count",
         sceneFile(oneNode, meshSection("m", 2000000000, 0, vertexLines("SM00V", 3))),
         "ERR: File end before vertex read completed",
         {}},
        {"huge submesh count",
         sceneFile(oneNode,
                   "[Mesh:m]\nSharedVertexCount=1\nShV00000=0 0 0\nNumSubMeshes=2000000000\n"),
         "ERR: Bad count NumSubMeshes=2000000000 in [Mesh:m].",
         {}},
        // 44 lines: a and b take 21 each, c finds only 2 left for its 21.
        {"runs read over and over",
         sceneFile(
             nodeEntries({{"a", "b", "c"}}),
             meshSection("a", 20, 0, "") + meshSection("b", 20, 0, "") + validMesh("c", 20, 0)),
         "ERR: Bad count SM00VertexCount=20 in [Mesh:c].",
         [](const RtsScene& r) { EXPECT_EQ(r.scene.nodes.at(0).objects.size(), 2u); }},
        {"count 0 reads nothing, no section is an empty mesh",
         sceneFile(nodeEntries({{"m", "none"}}), meshSection("m", 0, 0, "")), "",
         [](const RtsScene& r) {
             ASSERT_EQ(r.scene.meshes.size(), 2u);
             EXPECT_EQ(firstSubmesh(r).vertices.vertexCount, 0u);
             EXPECT_TRUE(r.scene.meshes[1].submeshes.empty());
             EXPECT_EQ(r.scene.nodes[0].objects[1].mesh, 1u);
         }},
        {"long names and lines",
         sceneFile(nodeEntries({{longName}}),
                   meshSection(longName.substr(0, 255), 1, 0, "SM00V00000=" + wideValues + "\n")),
         "",
         [=](const RtsScene& r) {
             EXPECT_EQ(r.scene.nodes[0].objects[0].name, longName.substr(0, 255));
             EXPECT_EQ(firstSubmesh(r).vertices.positions[0], 1.2345679e29f);
             EXPECT_EQ(firstSubmesh(r).vertices.uvs[1], -1.2345679e29f);
         }},
        {"70,000 vertices take 32-bit indices",
         sceneFile(oneNode, meshSection("m", 70000, 1,
                                        vertexLines("SM00V", 70000) +
                                            faceLines("SM00F", 1, "69999 0 65536"))),
         "",
         [](const RtsScene& r) {
             EXPECT_TRUE(firstSubmesh(r).indices32);
             EXPECT_EQ(firstSubmesh(r).indices, (std::vector<std::uint32_t>{69999, 0, 65536}));
             EXPECT_EQ(firstSubmesh(r).vertices.positions.size(), 210000u);
         }},
        {"brackets in a mesh name",
         sceneFile(nodeEntries({{"part[2]"}}), validMesh("part[2]", 2, 0)), "",
         [](const RtsScene& r) { EXPECT_EQ(firstSubmesh(r).vertices.vertexCount, 2u); }},
        {"names differing in case are two meshes",
         sceneFile(nodeEntries({{"Box", "box"}}), validMesh("box", 4, 0) + validMesh("Box", 5, 0)),
         "",
         [](const RtsScene& r) {
             EXPECT_EQ(firstSubmesh(r, 0).vertices.vertexCount, 5u);
             EXPECT_EQ(firstSubmesh(r, 1).vertices.vertexCount, 4u);
         }},
        {"bad numbers",
         sceneFile(
             "NumSceneNodes=1\nSN00Name=n\nSN00Position=1 x 3\nSN00ScaleXYZ=2 nan 5\n"
             "SN00OrientationXYZW=0 0 0 0\nSN00MeshCount=1\nSN00Mesh00Name=m\n",
             meshSection("m", 1, 0, "SM00V00000=1 2 inf 4 5 6 7 8\n", "Bounds=1 1 1 0 0 0\n")),
         "",
         [](const RtsScene& r) {
             const NodeSnapshot& node = r.scene.nodes[0];
             EXPECT_EQ(node.position, (std::array<float, 3>{1, 0, 0}));
             EXPECT_EQ(node.scale, (std::array<float, 3>{2, 1, 1}));
             EXPECT_EQ(node.orientation, (std::array<float, 4>{0, 0, 0, 1}));
             EXPECT_EQ(firstSubmesh(r).vertices.positions, (std::vector<float>{1, 2, 0}));
             EXPECT_EQ(firstSubmesh(r).vertices.uvs, (std::vector<float>{0, 0}));
             EXPECT_EQ(r.scene.meshes[0].bounds, (std::array<float, 6>{1, 2, 0, 1, 2, 0}));
         }},
    };
}

TEST(RtsReader, StopsWithTheExactTextAndKeepsWhatWasReadBefore) {
    ViewSettings current;
    for (Case& c : cases()) {
        if (c.error.rfind("You need", 0) == 0) {
            c.file.replace(c.file.find("RTSVersion=1"), 12, "RTSVersion=2");
        }
        Result<RtsScene> read = readRtsText(c.file, current);
        EXPECT_EQ(errorOf(read), c.error) << c.what;
        if (read && c.check) {
            SCOPED_TRACE(c.what);
            c.check(read.value());
        }
    }
}

TEST(RtsReader, ReadsTheViewWithItsDefaultsAndKeepsValuesThatDoNotScan) {
    ViewSettings current;
    current.lightPosition = {7, 8, 9};
    current.cameraXPos = 42;
    Result<RtsScene> versionOnly = readRtsText("[RTSData]\r\nRTSVersion=1\r\n", current);
    ASSERT_TRUE(versionOnly);
    const ViewSettings& view = versionOnly->view;
    EXPECT_EQ(view.lightPosition, (std::array<float, 3>{0, 15, 25}));
    EXPECT_EQ(view.lightDiffuseColor, (std::array<float, 3>{1, 0.6f, 0.4f}));
    EXPECT_EQ(view.lightSpecularColor, (std::array<float, 3>{1, 0.4f, 0.6f}));
    EXPECT_EQ(
        (std::array<float, 7>{view.cameraXPos, view.cameraYPos, view.cameraDist, view.cameraLookX,
                              view.cameraLookY, view.cameraNearClip, view.cameraFovY}),
        (std::array<float, 7>{0, 1, 2, 0, 0.7f, 1, 60}));
    EXPECT_EQ((std::array<float, 5>{view.backgroundShift, view.bgndRed, view.bgndGreen,
                                    view.bgndBlue, view.bgndAlpha}),
              (std::array<float, 5>{8, 0.45f, 0.1f, 0.1f, 1}));
    EXPECT_TRUE(versionOnly->scene.nodes.empty());
    EXPECT_EQ(versionOnly->error, "");

    Result<RtsScene> bad = readRtsText(
        "[rtsdata]\nrtsversion=1\nLightPosition=1 x 3\nCameraXPos=abc\nCameraFOVY=+45\n", current);
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->view.lightPosition, (std::array<float, 3>{1, 8, 9}));
    EXPECT_EQ(bad->view.cameraXPos, 42);
    EXPECT_EQ(bad->view.cameraFovY, 45);
}

// Every kind of mesh the writer writes loads back into the same text.
TEST(RtsReader, ReadsBackWhatTheWriterWrote) {
    SceneSnapshot scene;
    MeshSnapshot shared;
    shared.bounds = {-1, -2, -3, 4, 5, 6};
    shared.sharedVertices =
        VertexArrays{3, {-1, -2, -3, 4, 5, 6, 0.5f, 0, 1}, {}, {0, 0, 1, 0, 0, 1}};
    SubmeshSnapshot onShared;
    onShared.label = "body";
    onShared.useSharedVertices = true;
    onShared.indices = {0, 1, 2, 2, 1, 0};
    shared.submeshes = {onShared, onShared};
    MeshSnapshot own;
    SubmeshSnapshot big;
    big.vertices.vertexCount = 70000;
    for (std::size_t i = 0; i < 3 * big.vertices.vertexCount; ++i) {
        big.vertices.positions.push_back(static_cast<float>(i) * 0.001f);
    }
    big.vertices.normals.assign(big.vertices.positions.size(), 0.25f);
    big.vertices.uvs.assign(2 * big.vertices.vertexCount, -0.125f);
    big.indices32 = true;
    big.indices = {69999, 0, 1};
    own.submeshes = {big};
    scene.meshes = {shared, own};
    for (int n = 0; n < 130; ++n) {
        scene.nodes.push_back(
            {"node" + std::to_string(n), {1.5f, -2, 3}, {0, 0.6f, 0, 0.8f}, {1, 2, 3}, {}});
    }
    scene.nodes[0].objects = {{"part[2]", true, 0, {"mat a", "mat b"}}, {"Box", true, 1, {"x"}}};
    scene.nodes[129].objects = {{"box", true, 0, {"y"}}};
    ViewSettings view;
    view.cameraDist = 12.25f;

    std::string text = writtenRtsText(view, scene);
    Result<RtsScene> read = readRtsFile("/proc/self/fd/-1", view);
    EXPECT_EQ(errorOf(read), "ERR: Unrecognized file format");
    test::TempDir dir;
    test::writeFile(dir / "scene.rts", text);
    read = readRtsFile((dir / "scene.rts").string(), ViewSettings{});
    ASSERT_TRUE(read);
    EXPECT_EQ(read->error, "");
    EXPECT_EQ(writtenRtsText(read->view, read->scene), text);
}

// Every prefix of a file, each in an allocation of its own size so that AddressSanitizer sees
// any read past its end, reads as far as it goes.
TEST(RtsReader, ReadsEveryPrefixOfAFileWithinIt) {
    std::string file = sceneFile(nodeEntries({{"a", "b"}}), validMesh("a") + validMesh("b", 4, 2));
    for (std::size_t length = 0; length <= file.size(); ++length) {
        std::unique_ptr<char[]> prefix(new char[length]);
        std::copy(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length), prefix.get());
        Result<RtsScene> read = readRtsText(std::string_view(prefix.get(), length), ViewSettings{});
        ASSERT_TRUE(read || read.error() == "ERR: Unrecognized file format") << length;
        ASSERT_LE(read ? read->scene.meshes.size() : 0u, 2u);
    }
    Result<RtsScene> whole = readRtsText(file, ViewSettings{});
    EXPECT_EQ(errorOf(whole), "");
    EXPECT_EQ(firstSubmesh(whole.value(), 1).indices.size(), 6u);
}

}  // namespace
}  // namespace verada
