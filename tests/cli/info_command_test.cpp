#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>

#include "formats/model/model_format.h"
#include "tests/support/gmdc_writer.h"
#include "tests/support/gmsh_writer.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

using Json = nlohmann::basic_json<std::map, std::vector, std::string, bool, std::int64_t,
                                  std::uint64_t, float>;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun runInfo(const std::vector<std::string>& arguments) {
    test::TempDir dir;
    std::string errPath = (dir / "stderr").string();
    std::string command = "'" + test::veradaBinary().string() + "' info";
    for (const std::string& argument : arguments) {
        command += " '" + argument + "'";
    }
    command += " 2>'" + errPath + "'";
    CliRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return run;
    }
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.out.append(buffer, got);
    }
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = test::readFile(errPath);
    return run;
}

void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    test::writeFile(path, std::string(bytes.begin(), bytes.end()));
}

std::string sample(const std::string& name) {
    return test::samplePath(name).string();
}

TEST(InfoCommand, PrintsEveryGroupOfGoodFiles) {
    test::TempDir dir;
    std::string mesh = (dir / "MESH.GMSH").string();
    writeBytes(mesh, test::simpleGmsh(4, {0, 1, 2, 2, 1, 3}).bytes());
    CliRun run =
        runInfo({sample("gmdl/Megamouth.gmdl"), sample("gmdc/teapot_model.extracted.5gd"), mesh});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              sample("gmdl/Megamouth.gmdl") + ": 2 groups\n" +
                  "  GMDL-unnamed.00: 5210 vertices, 8458 faces, bounds (-0.407303, -0.452812, "
                  "-0.590625) - (0.407972, 0.0710938, 0.580518)\n"
                  "  GMDL-unnamed.01: 5405 vertices, 8952 faces, bounds (-0.545897, -0.181372, "
                  "-0.984945) - (0.546389, 0.0691313, 0)\n" +
                  sample("gmdc/teapot_model.extracted.5gd") + ": 1 groups\n" +
                  "  teapot: 13248 vertices, 6320 faces, bounds (-2, 0, -3) - (2, 3.15, 3.434)\n" +
                  mesh + ": 1 groups\n" +
                  "  unnamed: 4 vertices, 2 faces, bounds (0, 0, -6) - (3, 9, 0)\n");
}

TEST(InfoCommand, BadFilesGoToStderrAndTheRestIsStillRead) {
    test::TempDir dir;
    std::string bad = (dir / "bad.gmdl").string();
    test::writeFile(bad, "abcdefgh");
    std::string missing = (dir / "missing.5gd").string();
    std::string unknown = (dir / "model.obj").string();
    test::writeFile(unknown, "v 0 0 0\n");

    CliRun alone = runInfo({bad});
    EXPECT_EQ(alone.status, 1);
    EXPECT_EQ(alone.out, "");
    EXPECT_EQ(alone.err, bad + ": ERR: Expected version 7 or 8, found 64636261 instead.\n");

    CliRun mixed = runInfo({missing, sample("gmdc/TestMesh.5gd"), unknown, bad});
    EXPECT_EQ(mixed.status, 1);
    EXPECT_EQ(mixed.out, sample("gmdc/TestMesh.5gd") +
                             ": 1 groups\n  body: 1400 vertices, 2116 faces, bounds (-0.932678, "
                             "-1.2665e-09, -0.245811) - (0.932678, 1.64734, 0.24812)\n");
    EXPECT_EQ(mixed.err, missing + ": ERR: File missing or damaged.\n" + unknown +
                             ": ERR: Unknown model file type, expected .gmdl, .gmsh, .5gd, .simpe, "
                             ".mesh or .package.\n" +
                             bad + ": ERR: Expected version 7 or 8, found 64636261 instead.\n");
}

TEST(InfoCommand, GmdcWarningsGoToStderr) {
    test::TempDir dir;
    test::GmdcFile file = test::simpleGmdc(4, 3, {0, 1, 2});
    file.links[0].references = {0, 1};
    std::string path = (dir / "nouvs.simpe").string();
    writeBytes(path, file.bytes());
    CliRun run = runInfo({path});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, path + ": WARN: Model lacks UVs.\n");

    CliRun json = runInfo({"--json", path});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.err, "");
    Json result = Json::parse(json.out);
    EXPECT_EQ(result[0]["warnings"], Json::array({"WARN: Model lacks UVs."}));
    EXPECT_EQ(result[0]["groups"][0]["uvs"][2], Json::array({0.0f, 0.0f}));
}

// Names are bytes: JSON gets them as UTF-8 (stray bytes as Latin-1) and never aborts, text gets
// their control characters escaped, whether they come from the file or its name.
TEST(InfoCommand, NamesThatAreNoUtf8OrHoldControlCharacters) {
    test::TempDir dir;
    test::GmdcFile file = test::simpleGmdc(4, 3, {0, 1, 2});
    file.groups[0].name = "te\xFF\x1B[2Jot";
    test::GmdcGroup cut = file.groups[0];
    cut.name = "caf\xC3";  // a character cut in half by a fixed-width field
    file.groups.push_back(cut);
    const std::string path = (dir / "Caf\xE9\x07.5gd").string();
    writeBytes(path, file.bytes());
    const std::string printedPath = (dir / "Caf\xC3\xA9\\x07.5gd").string();

    CliRun text = runInfo({path});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, printedPath + ": 2 groups\n" +
                            "  te\xC3\xBF\\x1B[2Jot: 3 vertices, 1 faces, bounds (-2, 0, 0) - "
                            "(0, 6, 4)\n"
                            "  caf\xC3\x83: 3 vertices, 1 faces, bounds (-2, 0, 0) - (0, 6, 4)\n");

    CliRun json = runInfo({"--json", path, (dir / "gone\xFF.5gd").string()});
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(json.err, (dir / "gone\xC3\xBF.5gd").string() + ": ERR: File missing or damaged.\n");
    Json result = Json::parse(json.out);
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[0]["file"], (dir / "Caf\xC3\xA9\x07.5gd").string());
    EXPECT_EQ(result[0]["groups"][0]["name"], "te\xC3\xBF\x1B[2Jot");
    EXPECT_EQ(result[0]["groups"][1]["name"], "caf\xC3\x83");
    EXPECT_EQ(result[1]["file"], (dir / "gone\xC3\xBF.5gd").string());
}

void expectSameGroups(const Json& entry, const std::string& path) {
    Result<ImportedModel> read = readModelFile(path);
    ASSERT_TRUE(read) << read.error();
    const ImportedModel& model = read.value();
    EXPECT_EQ(entry["file"], path);
    ASSERT_EQ(entry["groups"].size(), model.groups.size());
    EXPECT_EQ(entry["warnings"], Json::array());
    for (std::size_t g = 0; g < model.groups.size(); ++g) {
        const ModelGroup& group = model.groups[g];
        const Json& json = entry["groups"][g];
        EXPECT_EQ(json["name"], group.name);
        EXPECT_EQ(json["vertexCount"], group.vertexCount());
        EXPECT_EQ(json["faceCount"], group.faceCount());
        EXPECT_EQ((json["boundsMin"].get<std::array<float, 3>>()), group.boundsMin);
        EXPECT_EQ((json["boundsMax"].get<std::array<float, 3>>()), group.boundsMax);
        ASSERT_EQ(json["positions"].size(), std::size_t(group.vertexCount()));
        ASSERT_EQ(json["normals"].size(), std::size_t(group.vertexCount()));
        ASSERT_EQ(json["uvs"].size(), std::size_t(group.vertexCount()));
        ASSERT_EQ(json["faces"].size(), std::size_t(group.faceCount()));
        // Every float reads back to the same 32-bit value.
        for (int k = 0; k < group.vertexCount(); ++k) {
            for (int axis = 0; axis < 3; ++axis) {
                ASSERT_EQ(json["positions"][k][axis].get<float>(), group.positions[3 * k + axis]);
                ASSERT_EQ(json["normals"][k][axis].get<float>(), group.normals[3 * k + axis]);
            }
            ASSERT_EQ(json["uvs"][k][0].get<float>(), group.uvs[2 * k]);
            ASSERT_EQ(json["uvs"][k][1].get<float>(), group.uvs[2 * k + 1]);
        }
        for (int f = 0; f < group.faceCount(); ++f) {
            for (int corner = 0; corner < 3; ++corner) {
                ASSERT_EQ(json["faces"][f][corner].get<int>(), group.faces[3 * f + corner]);
            }
        }
    }
}

TEST(InfoCommand, JsonCarriesTheWholeGeometry) {
    test::TempDir dir;
    std::string bad = (dir / "bad.gmsh").string();
    test::writeFile(bad, "");
    const std::vector<std::string> samples = {sample("gmdl/Megamouth.gmdl"),
                                              sample("gmdc/TestMesh.5gd"),
                                              sample("gmdc/teapot_model.extracted.5gd")};
    CliRun run = runInfo({"--json", samples[0], samples[1], bad, samples[2]});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, bad + ": ERR: File Read Error\n");
    Json result = Json::parse(run.out);
    ASSERT_EQ(result.size(), 4u);
    EXPECT_EQ(result[2], (Json{{"file", bad}, {"error", "ERR: File Read Error"}}));
    expectSameGroups(result[0], samples[0]);
    expectSameGroups(result[1], samples[1]);
    expectSameGroups(result[3], samples[2]);
    // The text is the shortest that reads back to the float, not a double's expansion.
    EXPECT_NE(run.out.find("\"boundsMax\":[2.0,3.15,3.4339995]"), std::string::npos);
}

TEST(InfoCommand, OgreMeshesListTheirSubmeshes) {
    test::TempDir dir;
    std::string cut = (dir / "cut.MESH").string();
    test::writeFile(cut, test::readFile(sample("ogre-mesh/v1.100/cube.mesh")).substr(0, 1000));
    std::string head = sample("ogre-mesh/v1.40/ogrehead.mesh");
    std::string barrel = sample("ogre-mesh/v1.100/Barrel.mesh");
    std::string knot = sample("ogre-mesh/v1.100/knot.mesh");
    CliRun run = runInfo({head, cut, barrel, sample("gmdc/TestMesh.5gd"), knot});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              cut + ": ERR: Mesh data ends early: a read of 4 bytes at byte 997 of 1000.\n");
    EXPECT_EQ(run.out, head +
                           ": 4 submeshes\n"
                           "  GroupIndex00: 58 vertices, 82 faces, material \"Ogre/Eyes\"\n"
                           "  GroupIndex01: 1642 vertices, 3178 faces, material \"Ogre/Skin\"\n"
                           "  GroupIndex02: 200 vertices, 400 faces, material \"Ogre/Earring\"\n"
                           "  GroupIndex03: 342 vertices, 676 faces, material \"Ogre/Tusks\"\n" +
                           barrel + ": 1 submesh\n" +
                           "  submesh0: 132 vertices, 128 faces, material \"RustyBarrel\"\n" +
                           sample("gmdc/TestMesh.5gd") +
                           ": 1 groups\n  body: 1400 vertices, 2116 faces, bounds (-0.932678, "
                           "-1.2665e-09, -0.245811) - (0.932678, 1.64734, 0.24812)\n" +
                           knot + ": 1 submesh\n" +
                           "  GroupIndex00: 1834 vertices, 2880 faces, material \"2 - Default\"\n");

    CliRun json = runInfo({"--json", knot, cut, barrel});
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(json.err, run.err);
    Json result = Json::parse(json.out);
    EXPECT_EQ(
        result,
        Json::parse(
            R"([
        {"file": ")" +
            knot + R"(", "submeshes": [{"label": "GroupIndex00",
         "material": "2 - Default", "vertexCount": 1834, "faceCount": 2880,
         "sharedVertices": true}]},
        {"file": ")" +
            cut +
            R"(", "error": "ERR: Mesh data ends early: a read of 4 bytes at byte 997 of 1000."},
        {"file": ")" +
            barrel + R"(", "submeshes": [{"label": "submesh0",
         "material": "RustyBarrel", "vertexCount": 132, "faceCount": 128,
         "sharedVertices": false}]}])"));
}

// A package's model items read as the files they unpack to; only "file" tells them apart.
TEST(InfoCommand, PackagesShowTheirModelItems) {
    const std::string package = sample("gmdc/TestMesh.package");
    const std::string item = "KL-GMDC-AC4F8687-1C050000-FF8AF5A3-2A6F56FA.5gd";
    CliRun fromPackage = runInfo({"--json", package});
    CliRun fromFile = runInfo({"--json", sample("gmdc/TestMesh.5gd")});
    EXPECT_EQ(fromPackage.status, 0) << fromPackage.err;
    Json packaged = Json::parse(fromPackage.out);
    Json unpacked = Json::parse(fromFile.out);
    ASSERT_EQ(packaged.size(), 1u);
    EXPECT_EQ(packaged[0]["file"], package + ":" + item);
    packaged[0]["file"] = unpacked[0]["file"];
    EXPECT_EQ(packaged, unpacked);

    const std::string spore = sample("package/spore-smfx/Project_0.package");
    CliRun text = runInfo({package, spore});
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')), package + ":" + item + ": 1 groups");
    EXPECT_EQ(text.err, spore + ": ERR: Package holds no GMDL, GMSH or GMDC item.\n");
}

}  // namespace
}  // namespace verada
