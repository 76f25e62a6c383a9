// verada unpack / verada pack, run as a user would run them.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/formats/package/rellabels_streams.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

namespace fs = std::filesystem;

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

}  // namespace
}  // namespace verada
