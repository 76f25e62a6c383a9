#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

namespace verada {
namespace {

struct ExportRun {
    int status = -1;
    std::string err;
};

ExportRun runExport(const test::TempDir& dir, const std::string& arguments) {
    std::string command = "cd '" + dir.path().string() + "' && '" + test::veradaBinary().string() +
                          "' export " + arguments + " 2>stderr.txt";
    int status = std::system(command.c_str());
    ExportRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = test::readFile(dir / "stderr.txt");
    std::filesystem::remove(dir / "stderr.txt");
    return run;
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

std::vector<std::string> entries(const test::TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The start-up scene with the view of ./Verada.cfg, which is read and left as it was; the
// script loads before the models whatever its place.
TEST(ExportCommand, WritesTheStartUpSceneWithEachFileAdded) {
    test::TempDir dir;
    const std::string config = "[SceneParms]\r\nCameraDist=10\r\nBgndRed=0.25\r\n";
    test::writeFile(dir / "Verada.cfg", config);
    test::writeFile(dir / "robot.material",
                    "material Examples/Robot\n{\n technique\n {\n  pass\n  {\n  }\n }\n}\n");
    ExportRun run =
        runExport(dir, "-o scene.rts " + quoted(test::samplePath("ogre-mesh/v1.100/robot.mesh")) +
                           " " + quoted(test::samplePath("gmdc/TestMesh.5gd")) + " robot.material");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(test::readFile(dir / "Verada.cfg"), config);
    EXPECT_EQ(entries(dir),
              (std::vector<std::string>{"Verada.cfg", "robot.material", "scene.rts"}));

    std::string text = test::readFile(dir / "scene.rts");
    for (std::string line : {"CameraDist=10.000000", "BgndRed=0.250000", "NumSceneNodes=4",
                             "SN00Name=groundplane", "SN01Name=background", "SN02Name=robot",
                             "SN03Name=TestMesh", "SM00Material=Examples/Robot"}) {
        EXPECT_NE(text.find("\n" + line + "\r\n"), std::string::npos) << line;
    }
}

// A usage error ends with 2 and one line naming what export writes; any other error with 1 and
// the file's message. Nothing is written either way, and an old output stays as it was.
TEST(ExportCommand, ErrorsWriteNothing) {
    test::TempDir dir;
    test::writeFile(dir / "old.rts", "old");
    test::writeFile(dir / "newer.rts", "[RTSData]\r\nRTSVersion=2\r\n");
    const std::string knot = quoted(test::samplePath("ogre-mesh/v1.100/knot.mesh"));
    const std::tuple<std::string, int, std::string> cases[] = {
        {"-o old.png " + knot, 2,
         "verada export: cannot tell what to write from \"old.png\": OUT must end in .rts\n"},
        {"-o old.rts missing.gmdl " + knot, 1, "missing.gmdl: ERR: File missing or damaged.\n"},
        {"-o old.rts newer.rts", 1,
         "newer.rts: You need a newer program version to use this file\n"},
    };
    for (const auto& [arguments, status, err] : cases) {
        ExportRun run = runExport(dir, arguments);
        EXPECT_EQ(run.status, status) << arguments;
        EXPECT_EQ(run.err, err) << arguments;
        EXPECT_EQ(test::readFile(dir / "old.rts"), "old");
        EXPECT_EQ(entries(dir), (std::vector<std::string>{"newer.rts", "old.rts"}));
    }
}

}  // namespace
}  // namespace verada
