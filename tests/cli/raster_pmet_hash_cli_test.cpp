// The rast2dds, pmet and hash subcommands, run as a user runs them.
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

namespace verada {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

struct CommandResult {
    int exitCode;
    std::string out;
    std::string err;
};

// Runs a shell command line in the current folder; "VERADA" stands for the built program.
CommandResult run(std::string command) {
    std::string binary = "'" + std::filesystem::absolute(test::veradaBinary()).string() + "'";
    for (std::size_t at = command.find("VERADA"); at != std::string::npos;
         at = command.find("VERADA", at + binary.size())) {
        command.replace(at, 6, binary);
    }
    std::FILE* pipe = popen((command + " 2>stderr.out").c_str(), "r");
    if (!pipe) {
        return {-1, "", "popen failed"};
    }
    CommandResult result{};
    char buffer[4096];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) {
        result.out.append(buffer, got);
    }
    int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = readFile("stderr.out");
    std::filesystem::remove("stderr.out");
    return result;
}

std::string u32le(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>(value >> (8 * i));
    }
    return bytes;
}

std::string u32be(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string dxt5Raster() {
    return u32le(1) + u32le(0) + u32le(0) + u32le(1) + u32le(8) + u32le(0x35545844) + u32le(65536) +
           std::string(65536, '\x11');
}

std::string version8Pmet() {
    std::string bytes = u32be(8) + "GUIDGUID";
    for (std::uint32_t id = 1; id <= 11; ++id) {
        bytes += u32be(id);
    }
    bytes += u32be(3) + std::string("B\0o\0b\0", 6) + u32be(0) + u32be(0);
    return bytes + u32be(1) + u32be(3) + "tag" + u32be(0xA) + u32be(0xB) + u32be(0xC);
}

const std::string kVersion8Report =
    "Alpha PMET contents parser\r\nYou should expect this to change in the future\r\n\r\n"
    "Version =      8\r\n"
    "GUID =         47 55 49 44 47 55 49 44 \r\n"
    "Creature ID 1: 00000001 00000002 00000003\r\n"
    "Creature ID 2: 00000004 00000005 00000006\r\n"
    "tid:           00000007 00000008\r\n"
    "User ID:       00000009 0000000A 0000000B\r\n"
    "User Name:     Bob\r\n"
    "Creature Name: \r\n"
    "Comments:      \r\n"
    "Tag count:     1\r\n"
    "Tag01:         tag\r\n"
    "TGI 04:        0000000A 0000000B 0000000C\r\n";

class Cli : public ::testing::Test {
  protected:
    Cli() { std::filesystem::current_path(dir_.path()); }
    TempDir dir_;
};

TEST_F(Cli, HashArguments) {
    CommandResult r = run("VERADA hash abc ABC '' SimSkin");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "0x439C2F4B\tabc\n0x439C2F4B\tABC\n0x811C9DC5\t\n0x548394B9\tSimSkin\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(Cli, HashStandardInputLines) {
    writeFile("names.txt", "abc\r\nb__ROOT__\n\n\xE9");
    CommandResult r = run("VERADA hash < names.txt");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "0x439C2F4B\tabc\n0xFEAE6981\tb__ROOT__\n0x811C9DC5\t\n0xFAF3A2F6\t\xE9\n");
}

TEST_F(Cli, Rast2ddsConvertsEveryFileAndFailsOnAnyError) {
    std::filesystem::create_directory("art");
    writeFile("art/tree.rast", dxt5Raster());
    writeFile("bad.rast", u32le(1) + u32le(0) + u32le(0) + u32le(1) + u32le(8) + u32le(0) +
                              u32le(48) + std::string(48, '\0'));
    CommandResult r = run("VERADA rast2dds art/tree.rast bad.rast missing.rast");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "art/tree.rast converted, no error.\n");
    EXPECT_EQ(r.err,
              "bad.rast: ERR: Unknown/unimplemented compression format 00000000 specified.\n"
              "missing.rast: Failed to open input file missing.rast.\n");
    EXPECT_EQ(std::filesystem::file_size("art/tree-mm00.dds"), 128u + 65536u);
    EXPECT_FALSE(std::filesystem::exists("bad-mm00.dds"));

    r = run("VERADA rast2dds art/tree.rast");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
}

TEST_F(Cli, PmetWritesAndPrintsTheReport) {
    std::filesystem::create_directory("data");
    writeFile("data/creature.pmet", version8Pmet());
    CommandResult r = run("VERADA pmet data/creature.pmet");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, kVersion8Report);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readFile("data/creature.txt"), kVersion8Report);

    writeFile("odd.pmet", u32be(9));
    r = run("VERADA pmet odd.pmet data/creature.pmet");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, kVersion8Report);
    EXPECT_EQ(r.err, "odd.pmet: ERR: Version 9 not known (only 8 and 10).\n");
    EXPECT_EQ(readFile("odd.txt"), "ERR: Version 9 not known (only 8 and 10).");

    std::filesystem::create_directory("blocked.txt");
    writeFile("blocked.pmet", version8Pmet());
    r = run("VERADA pmet blocked.pmet");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "blocked.txt: Unable to create .txt file.\n");
}

TEST_F(Cli, PmetOpenStartsTheDefaultViewer) {
    std::filesystem::create_directory("bin");
    writeFile("bin/xdg-open",
              "#!/bin/sh\nprintf '%s' \"$1\" > opened.tmp && mv opened.tmp opened\n");
    std::filesystem::permissions("bin/xdg-open", std::filesystem::perms::owner_all);
    writeFile("creature.pmet", version8Pmet());

    CommandResult r = run("PATH=\"$PWD/bin:$PATH\" VERADA pmet --open creature.pmet");
    EXPECT_EQ(r.exitCode, 0);
    for (int wait = 0; wait < 100 && !std::filesystem::exists("opened"); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(readFile("opened"), (dir_ / "creature.txt").string());

    std::filesystem::create_directory("empty");
    r = run("PATH=\"$PWD/empty\" VERADA pmet --open creature.pmet");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "creature.pmet: ERR: Unable to open creature.txt with the default viewer.\n");
}

}  // namespace
}  // namespace verada
