#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/formats/export/export_peers.h"
#include "tests/support/cli_run.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

test::CliRun runExport(const test::TempDir& dir, const std::string& arguments) {
    return test::runVeradaLine(dir.path(), "export " + arguments);
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// The start-up scene with the view of ./Verada.cfg, which is read and left as it was; the
// script loads before the models whatever its place.
TEST(ExportCommand, WritesTheStartUpSceneWithEachFileAdded) {
    test::TempDir dir;
    const std::string config = "[SceneParms]\r\nCameraDist=10\r\nBgndRed=0.25\r\n";
    test::writeFile(dir / "Verada.cfg", config);
    test::writeFile(dir / "robot.material",
                    "material Examples/Robot\n{\n technique\n {\n  pass\n  {\n  }\n }\n}\n");
    test::CliRun run =
        runExport(dir, "-o scene.rts " + quoted(test::samplePath("ogre-mesh/v1.100/robot.mesh")) +
                           " " + quoted(test::samplePath("gmdc/TestMesh.5gd")) + " robot.material");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(test::readFile(dir / "Verada.cfg"), config);
    EXPECT_EQ(test::namesIn(dir.path()),
              (std::set<std::string>{"Verada.cfg", "robot.material", "scene.rts"}));

    std::string text = test::readFile(dir / "scene.rts");
    for (std::string line : {"CameraDist=10.000000", "BgndRed=0.250000", "NumSceneNodes=4",
                             "SN00Name=groundplane", "SN01Name=background", "SN02Name=robot",
                             "SN03Name=TestMesh", "SM00Material=Examples/Robot"}) {
        EXPECT_NE(text.find("\n" + line + "\r\n"), std::string::npos) << line;
    }
}

// A usage error ends with 2 and one line naming what export writes, or what the option goes
// with; any other error with 1 and the message. Nothing is written either way: old outputs stay
// as they were, and no .mtl is left beside an .obj.
TEST(ExportCommand, ErrorsWriteNothing) {
    test::TempDir dir;
    const std::vector<std::string> outputs = {"old.rts", "old.mesh", "old.pov",
                                              "old.glb", "old.gltf", "old.obj"};
    for (const std::string& out : outputs) {
        test::writeFile(dir / out, "old");
    }
    test::writeFile(dir / "newer.rts", "[RTSData]\r\nRTSVersion=2\r\n");
    const std::string knot = quoted(test::samplePath("ogre-mesh/v1.100/knot.mesh"));
    std::vector<std::tuple<std::string, int, std::string>> cases = {
        {"-o old.png " + knot, 2,
         "verada export: cannot tell what to write from \"old.png\": OUT must end in .rts, "
         ".mesh, .pov, .glb, .gltf or .obj\n"},
        {"-o old.pov --node a", 2, "verada export: --node goes with .mesh output, not with .pov\n"},
        {"-o old.glb --mesh-version 1.8", 2,
         "verada export: --mesh-version goes with .mesh output, not with .glb\n"},
        {"-o old.mesh --run", 2, "verada export: --run goes with .pov output, not with .mesh\n"},
        {"-o old.mesh --mesh-version 2", 2,
         "--mesh-version: 2 not in {1.8,1.100}\nRun with --help for more information.\n"},
        {"-o old.rts newer.rts", 1,
         "newer.rts: You need a newer program version to use this file\n"},
        {"-o old.mesh", 1, "old.mesh: Save Failed.\nError in string selection.\n"},
    };
    for (const std::string& out : outputs) {
        cases.emplace_back("-o " + out + " missing.gmdl " + knot, 1,
                           "missing.gmdl: ERR: File missing or damaged.\n");
        cases.emplace_back(
            "-o 'no folder/" + out + "' " + knot, 1,
            "no folder/" + out + ": ERR: Unable to create file\n\"no folder/" + out + "\".\n");
        if (out == "old.glb" || out == "old.gltf" || out == "old.obj") {
            cases.emplace_back("-o " + out, 1,
                               out + ": ERR: The scene holds no model to export.\n");
        }
    }
    const std::set<std::string> before = test::namesIn(dir.path());
    for (const auto& [arguments, status, err] : cases) {
        test::CliRun run = runExport(dir, arguments);
        EXPECT_EQ(run.status, status) << arguments;
        EXPECT_EQ(run.err, err) << arguments;
        EXPECT_EQ(test::namesIn(dir.path()), before) << arguments;
    }
    for (const std::string& out : outputs) {
        EXPECT_EQ(test::readFile(dir / out), "old");
    }
}

const char* const kSampleModels[] = {"gmdl/Megamouth.gmdl", "gmdc/TestMesh.5gd",
                                     "gmdc/teapot_model.extracted.5gd"};

// (vertices, faces) of each group or submesh as `verada info --json` counts them, in order.
using Counts = std::vector<std::pair<int, int>>;

Counts infoCounts(const std::filesystem::path& file) {
    const test::CommandOutput info =
        test::runCommand("'" + test::veradaBinary().string() + "' info --json " + quoted(file));
    EXPECT_EQ(info.status, 0) << info.output;
    const nlohmann::json described = nlohmann::json::parse(info.output).at(0);
    Counts counts;
    for (const nlohmann::json& part :
         described.contains("groups") ? described["groups"] : described["submeshes"]) {
        counts.emplace_back(part["vertexCount"].get<int>(), part["faceCount"].get<int>());
    }
    return counts;
}

Counts assimpCounts(const std::filesystem::path& file) {
    Counts counts;
    for (const test::AssimpMesh& mesh : test::assimpMeshes(file)) {
        counts.emplace_back(mesh.vertices, mesh.faces);
    }
    return counts;
}

Counts sorted(Counts counts) {
    std::sort(counts.begin(), counts.end());
    return counts;
}

// Each sample model, and an Ogre mesh with its script's textured material, as glTF (binary and
// JSON) and OBJ: the Khronos validator finds no error, Assimp reads every part back with the
// counts `verada info` gives (OBJ: three vertices a face, as Assimp splits them), and the PNG
// goes into the file as it is.
TEST(ExportCommand, ModelsAsGltfAndObjReadBackWithTheirCounts) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "materials");
    std::filesystem::copy_file(test::samplePath("ogre-mesh/materials/Examples.material"),
                               dir / "materials/Examples.material");
    std::filesystem::copy_file(test::samplePath("ogre-mesh/textures/RustyBarrel.png"),
                               dir / "materials/RustyBarrel.png");
    std::vector<std::pair<std::filesystem::path, std::string>> models;
    for (const char* model : kSampleModels) {
        models.emplace_back(test::samplePath(model), "");
    }
    models.emplace_back(test::samplePath("ogre-mesh/v1.100/Barrel.mesh"),
                        " " + quoted(dir / "materials/Examples.material"));
    for (std::size_t m = 0; m < models.size(); ++m) {
        const auto& [model, script] = models[m];
        SCOPED_TRACE(model.string());
        const Counts counts = infoCounts(model);
        std::vector<std::filesystem::path> gltf;
        for (const std::string extension : {".glb", ".gltf", ".obj"}) {
            const std::string out = "m" + std::to_string(m) + extension;
            test::CliRun run = runExport(dir, "-o " + out + " " + quoted(model) + script);
            ASSERT_EQ(run.status, 0) << run.err;
            if (extension == ".obj") {
                Counts split;
                for (auto [vertices, faces] : counts) {
                    split.emplace_back(3 * faces, faces);
                }
                EXPECT_EQ(sorted(assimpCounts(dir / out)), sorted(split));
            } else {
                EXPECT_EQ(sorted(assimpCounts(dir / out)), sorted(counts));
                gltf.push_back(dir / out);
            }
        }
        const test::CommandOutput validated = test::validateGltf(gltf);
        EXPECT_EQ(validated.status, 0) << validated.output;
    }
    const std::string png = test::readFile(dir / "materials/RustyBarrel.png");
    EXPECT_NE(test::readFile(dir / "m3.glb").find(png), std::string::npos);
}

// POV-Ray renders each sample model's scene, run in the scratch folder (Debian's povray.conf
// lets it read and write only there), and the model shows against the empty scene.
TEST(ExportCommand, PovRayRendersEachSampleModel) {
    test::TempDir dir;
    auto render = [&](const std::string& name, const std::string& files) {
        ASSERT_EQ(runExport(dir, "-o " + name + ".pov" + files).status, 0);
        const test::CommandOutput povray =
            test::runCommand("cd '" + dir.path().string() + "' && povray +I" + name + ".pov +O" +
                             name + ".png +W160 +H120 -D");
        EXPECT_EQ(povray.status, 0) << povray.output;
    };
    render("empty", "");
    for (const char* model : kSampleModels) {
        SCOPED_TRACE(model);
        render("model", " " + quoted(test::samplePath(model)));
        const test::CommandOutput compare =
            test::runCommand("compare -metric AE '" + (dir / "model.png").string() + "' '" +
                             (dir / "empty.png").string() + "' null:");
        EXPECT_EQ(compare.status, 1) << compare.output;
        EXPECT_GT(std::atoi(compare.output.c_str()), 160 * 120 / 100);
    }
}

// --run starts POVCommand with its words as a shell would cut them, nothing expanded, and the
// file's name as given, blanks and all, as one more word; it waits, and a failure to start, a
// status other than 0 or no command is an error that leaves the file.
TEST(ExportCommand, RunStartsPovCommandOnTheFile) {
    test::TempDir dir;
    test::writeFile(dir / "record args",
                    "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > args.txt\n");
    std::filesystem::permissions(dir / "record args", std::filesystem::perms::owner_all);
    const std::pair<std::string, std::string> cases[] = {
        {"'" + (dir / "record args").string() + "' +W320 \"two words\" $HOME;x `id`", ""},
        {"sh -c 'exit 3'", "my scene.pov: ERR: \"sh\" ended with exit status 3.\n"},
        {"no-such-povray +W320",
         "my scene.pov: ERR: Unable to start \"no-such-povray\": No such file or directory.\n"},
        {"  ",
         "my scene.pov: ERR: No POV-Ray command to run: set POVCommand in [Commands] of "
         "./Verada.cfg.\n"},
    };
    for (const auto& [command, err] : cases) {
        std::filesystem::remove(dir / "my scene.pov");
        test::writeFile(dir / "Verada.cfg", "[Commands]\r\nPOVCommand=" + command + "\r\n");
        test::CliRun run = runExport(dir, "-o 'my scene.pov' --run");
        EXPECT_EQ(run.status, err.empty() ? 0 : 1) << command;
        EXPECT_EQ(run.err, err);
        EXPECT_TRUE(std::filesystem::exists(dir / "my scene.pov"));
    }
    EXPECT_EQ(test::readFile(dir / "args.txt"), "+W320\ntwo words\n$HOME;x\n`id`\nmy scene.pov\n");
}

// A .mesh of the first model's node, or of the node named; in Ogre 1.12's format or in 1.8's.
TEST(ExportCommand, MeshOfTheFirstModelOrOfTheNodeNamed) {
    test::TempDir dir;
    const std::string models = quoted(test::samplePath("gmdc/TestMesh.5gd")) + " " +
                               quoted(test::samplePath("gmdl/Megamouth.gmdl"));
    ASSERT_EQ(runExport(dir, "-o first.mesh " + models).status, 0);
    ASSERT_EQ(runExport(dir, "-o named.mesh --node Megamouth --mesh-version 1.8 " + models).status,
              0);
    ASSERT_EQ(runExport(dir, "-o floor.mesh --node groundplane --mesh-version 1.100").status, 0);
    EXPECT_EQ(test::readFile(dir / "first.mesh").substr(2, 23), "[MeshSerializer_v1.100]");
    EXPECT_EQ(test::readFile(dir / "named.mesh").substr(2, 21), "[MeshSerializer_v1.8]");
    EXPECT_EQ(test::readFile(dir / "floor.mesh").substr(2, 23), "[MeshSerializer_v1.100]");
    EXPECT_EQ(infoCounts(dir / "first.mesh"), infoCounts(test::samplePath("gmdc/TestMesh.5gd")));
    EXPECT_EQ(infoCounts(dir / "named.mesh"), infoCounts(test::samplePath("gmdl/Megamouth.gmdl")));
}

}  // namespace
}  // namespace verada
