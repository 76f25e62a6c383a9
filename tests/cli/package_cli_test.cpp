// verada unpack / verada pack, run as a user would run them.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/formats/package/rellabels_streams.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string quotedBinary() {
    return "'" + test::veradaBinary().string() + "'";
}

// Runs a shell command in the folder; stdout is captured, stderr goes through a file.
CliRun runShell(const test::TempDir& dir, const std::string& shellCommand) {
    const fs::path errFile = dir / "stderr.txt";
    const std::string command =
        "cd '" + dir.path().string() + "' && " + shellCommand + " 2>'" + errFile.string() + "'";
    CliRun result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return result;
    }
    std::array<char, 4096> buffer;
    std::size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.out.append(buffer.data(), got);
    }
    int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = test::readFile(errFile);
    return result;
}

CliRun run(const test::TempDir& dir, const std::string& arguments) {
    return runShell(dir, quotedBinary() + " " + arguments);
}

const char* kStatus = "Vazuvu V0.21 - by Dudoda\r\nEntry count = %d\r\nworking...\n";

std::string status(int count) {
    char text[128];
    std::snprintf(text, sizeof text, kStatus, count);
    return text;
}

void copySample(const test::TempDir& dir, const std::string& name) {
    test::writeFile(dir / name, test::readFile(test::samplePath("package/spore-smfx/" + name)));
}

TEST(PackageCli, UnpackEachPackageBesideItself) {
    test::TempDir dir;
    copySample(dir, "Project_0.package");
    copySample(dir, "Valla_CreaturePartUnlocking_Cell.package");
    CliRun result = run(dir, "unpack Project_0.package Valla_CreaturePartUnlocking_Cell.package");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, status(2) +
                              "Project_0.package unpacked\r\nNo errors.\r\n2 index items found\n" +
                              status(12) +
                              "Valla_CreaturePartUnlocking_Cell.package unpacked\r\nNo "
                              "errors.\r\n12 index items found\n");
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(fs::exists(dir / "Project_0" / "KL-NOTE-2B6CAB5F-9C9059AE-CC2F616F.txt"));
    EXPECT_TRUE(fs::exists(dir / "Valla_CreaturePartUnlocking_Cell" /
                           "KL-_PNG-2F7D0004-100D977C-3197668C.png"));
}

TEST(PackageCli, UnpackErrorsGoToStderrWithExitCodeOne) {
    test::TempDir dir;
    test::writeFile(dir / "bad.package", "NOPE");
    copySample(dir, "Project_0.package");
    CliRun result = run(dir, "unpack bad.package missing.package Project_0.package");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              "bad.package: ERR: Not DBPF or DBBF file type\n"
              "missing.package: Failed to open input file missing.package\n");
    EXPECT_NE(result.out.find("Project_0.package unpacked"), std::string::npos);
}

TEST(PackageCli, PackThenUnpack) {
    test::TempDir dir;
    copySample(dir, "Valla_CreaturePartUnlocking_Cell.package");
    ASSERT_EQ(run(dir, "unpack Valla_CreaturePartUnlocking_Cell.package").exitCode, 0);
    fs::create_directory(dir / "out");
    CliRun packed = run(dir, "pack Valla_CreaturePartUnlocking_Cell out/../new.package");
    EXPECT_EQ(packed.exitCode, 0) << packed.err;
    EXPECT_EQ(packed.out, "Packed 12 items, " + std::to_string(fs::file_size(dir / "new.package")) +
                              " bytes, into out/../new.package\n");
    EXPECT_EQ(packed.err, "");
    CliRun unpacked = run(dir, "unpack new.package");
    ASSERT_EQ(unpacked.exitCode, 0) << unpacked.err;
    for (const auto& entry : fs::directory_iterator(dir / "Valla_CreaturePartUnlocking_Cell")) {
        EXPECT_TRUE(test::readFile(entry.path()) ==
                    test::readFile(dir / "new" / entry.path().filename()))
            << entry.path();
    }

    CliRun failed = run(dir, "pack out new.package");
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.err, "out: ERR: 00000002 No such file or directory on FindFirstFile().\n");
    // A usage error.
    EXPECT_EQ(run(dir, "pack onlyone").exitCode, 2);
}

// On a terminal the texts end lines with "\n" and a progress line appears on stderr.
TEST(PackageCli, TerminalOutput) {
    test::TempDir dir;
    copySample(dir, "Valla_CreaturePartUnlocking_Cell.package");
    // script(1) gives verada a terminal; -onlcr keeps the terminal from changing line ends.
    CliRun result =
        runShell(dir, "script -qec \"stty -onlcr; " + quotedBinary() +
                          " unpack Valla_CreaturePartUnlocking_Cell.package\" /dev/null");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("Valla_CreaturePartUnlocking_Cell.package unpacked\nNo errors.\n12 "
                              "index items found\n"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(result.out.find("\r\n"), std::string::npos);
    EXPECT_NE(result.out.find("\rUnpacking Valla_CreaturePartUnlocking_Cell.package: "),
              std::string::npos);
}

void copySims2Sample(const test::TempDir& dir, const std::string& relative) {
    test::writeFile(dir / fs::path(relative).filename(),
                    test::readFile(test::samplePath(relative)));
}

TEST(PackageCli, ListPrintsEachIndexAsATable) {
    test::TempDir dir;
    copySample(dir, "Project_0.package");
    copySims2Sample(dir, "gmdc/TestMesh.package");
    CliRun result = run(dir, "list Project_0.package TestMesh.package");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "Project_0.package: DBPF 3.0, 2 items, 0 compressed, 32 bytes stored, 32 bytes "
              "unpacked\n"
              "  Type     Name Group    Instance Resource Offset   Stored Size Compressed\n"
              "  2B6CAB5F NOTE F0A4E385 E3174C42          00000060      0    0 no\n"
              "  2B6CAB5F NOTE 9C9059AE CC2F616F          00000060     32   32 no\n"
              "TestMesh.package: DBPF 1.1, 4 items, 0 compressed, 744469 bytes stored, 744469 "
              "bytes unpacked\n"
              "  Type     Name Group    Instance Resource Offset   Stored   Size Compressed\n"
              "  AC4F8687 GMDC 1C050000 FF8AF5A3 2A6F56FA 00000060 717741 717741 no\n"
              "  7BA3838C GMND 1C050000 FFE07792 1E92DBA2 000AF40D    687    687 no\n"
              "  FC6EB1F7 SHPE 1C050000 FFAFBAC3 1656B9C0 000AF6BC    287    287 no\n"
              "  E519C933 CRES 1C050000 FF7C50BE 6CD4779F 000AF7DB  25754  25754 no\n");
    EXPECT_FALSE(fs::exists(dir / "TestMesh"));  // nothing is unpacked
}

TEST(PackageCli, ListJsonOfBothGames) {
    struct Case {
        std::string sample;
        std::string version;
        std::size_t items;
        std::size_t compressed;
        bool resourceIds;
    };
    const std::vector<Case> cases = {
        {"package/spore-smfx/Valla_CreaturePartUnlocking_Cell.package", "3.0", 12, 0, false},
        {"gmdc/TestMesh.package", "1.1", 4, 0, true},
        {"qfs/sims2-simpe/RelLabels.package", "1.1", 584, 583, true},
        {"qfs/sims2-simpe/quaxi_ofb_censor_v1.compressed.package", "1.1", 2, 1, true},
    };
    test::TempDir dir;
    // An index cut short fails here, though unpacking writes the items before the cut; its
    // Latin-1 name is printed as UTF-8, in the JSON too.
    const std::string project =
        test::readFile(test::samplePath("package/spore-smfx/Project_0.package"));
    test::writeFile(dir / "cut\xE9.package", project.substr(0, project.size() - 1));
    std::string arguments = "list --json 'cut\xE9.package'";
    for (const Case& c : cases) {
        arguments += " '" + test::samplePath(c.sample).string() + "'";
    }
    CliRun result = run(dir, arguments);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "cut\xC3\xA9.package: ERR: File read error.\n");
    const Json packages = Json::parse(result.out);
    ASSERT_EQ(packages.size(), cases.size() + 1);
    EXPECT_EQ(packages[0],
              (Json{{"file", "cut\xC3\xA9.package"}, {"error", "ERR: File read error."}}));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Json& package = packages[i + 1];
        EXPECT_EQ(package["version"], cases[i].version) << cases[i].sample;
        ASSERT_EQ(package["items"].size(), cases[i].items) << cases[i].sample;
        std::size_t compressed = 0;
        for (const Json& item : package["items"]) {
            compressed += item["compressed"].get<bool>() ? 1 : 0;
            EXPECT_EQ(item.contains("resource"), cases[i].resourceIds) << cases[i].sample;
        }
        EXPECT_EQ(compressed, cases[i].compressed) << cases[i].sample;
    }
    EXPECT_EQ(packages[4]["items"][0], (Json{{"type", 0xCD7FE87A},
                                             {"typeName", "UNKN"},
                                             {"group", 0x1C0532FA},
                                             {"instance", 0xFF703EE0},
                                             {"resource", 0xB8D92FFE},
                                             {"offset", 96},
                                             {"storedSize", 5389},
                                             {"size", 14720},
                                             {"compressed", true}}));
}

TEST(PackageCli, PackCompressThenUnpack) {
    test::TempDir dir;
    fs::create_directory(dir / "items");
    const std::string mesh = test::readFile(test::samplePath("gmdc/TestMesh.5gd"));
    test::writeFile(dir / "items" / "KL-GMDC-AC4F8687-00000001-00000002.5gd", mesh);
    CliRun packed = run(dir, "pack --compress items small.package");
    EXPECT_EQ(packed.exitCode, 0) << packed.err;
    EXPECT_EQ(packed.err, "");
    EXPECT_EQ(packed.out, "Packed 1 items, " +
                              std::to_string(fs::file_size(dir / "small.package")) +
                              " bytes, into small.package\n");
    EXPECT_LT(fs::file_size(dir / "small.package") * 5, mesh.size());
    ASSERT_EQ(run(dir, "unpack small.package").exitCode, 0);
    EXPECT_TRUE(test::readFile(dir / "small" / "KL-GMDC-AC4F8687-00000001-00000002.5gd") == mesh);
}

}  // namespace
}  // namespace verada
