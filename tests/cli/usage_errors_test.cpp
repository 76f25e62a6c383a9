// How the command line ends: usage errors with 2 and no window, failed work with 1.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

namespace verada {
namespace {

struct Outcome {
    int status = -1;
    std::string err;
};

// No X display can be reached, so a viewer that starts says so and ends with 1.
Outcome run(const test::TempDir& dir, const std::string& arguments) {
    std::string command = "cd '" + dir.path().string() +
                          "' && env DISPLAY=:97 QT_QPA_PLATFORM=xcb XDG_CACHE_HOME='" +
                          (dir / "cache").string() + "' '" + test::veradaBinary().string() + "' " +
                          arguments + " >/dev/null 2>stderr.txt";
    int status = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.err = test::readFile(dir / "stderr.txt");
    std::filesystem::remove(dir / "stderr.txt");
    return outcome;
}

TEST(UsageErrors, ExitCodesAndTheirMessages) {
    const std::string notAFile =
        "\" is neither a subcommand (unpack, pack, hash, pmet, rast2dds, info, render, list, "
        "export) nor "
        "a file the viewer opens (.gmdl, .gmsh, .5gd, .simpe, .mesh, .material, .package, .rts); "
        "see "
        "verada --help\n";
    struct Case {
        const char* arguments;
        int status;
        std::string err;  // the whole of stderr, or a part of it when partOnly
        bool partOnly;
    } cases[] = {
        // A mistyped subcommand or a file the viewer does not open: one line, no window.
        {"inof TestMesh.5gd", 2, "verada: \"inof" + notAFile, false},
        {"notes.txt model.gmdl", 2, "verada: \"notes.txt" + notAFile, false},
        {"Makefile", 2, "verada: \"Makefile" + notAFile, false},
        // Unknown options, missing values and values that do not parse.
        {"--bogus", 2, "--bogus", true},
        {"render", 2, "--output is required", true},
        {"render -o", 2, "-o", true},
        {"render -o a.png --size wide", 2, "--size: must be WIDTHxHEIGHT or N", true},
        {"render -o a.png --size 0x10", 2, "--size: must be WIDTHxHEIGHT or N", true},
        {"render -o a.png --size 8193", 2, "--size: must be WIDTHxHEIGHT or N", true},
        {"info --frame x.gmdl", 2, "--frame", true},
        {"pack onlyone", 2, "output is required", true},
        {"unpack", 2, "packages is required", true},
        // Work that fails.
        {"info missing.gmdl", 1, "missing.gmdl: ERR: File missing or damaged.\n", false},
        {"rast2dds missing.rast", 1, "missing.rast: ", true},
        {"unpack missing.package", 1, "missing.package: Failed to open input file", true},
        // Work that succeeds, and the viewer, which is asked for but cannot open a window.
        {"hash abc", 0, "", false},
        {"--version", 0, "", false},
        {"MODEL.GMDL", 1, "verada: cannot open the X display \":97\"", true},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        Outcome outcome = run(dir, c.arguments);
        EXPECT_EQ(outcome.status, c.status) << c.arguments << ": " << outcome.err;
        if (c.partOnly) {
            EXPECT_NE(outcome.err.find(c.err), std::string::npos)
                << c.arguments << ": " << outcome.err;
        } else {
            EXPECT_EQ(outcome.err, c.err) << c.arguments;
        }
    }
    // Nothing of the program's own lands in the folder it runs in.
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().filename(), "cache");
    }
}

}  // namespace
}  // namespace verada
