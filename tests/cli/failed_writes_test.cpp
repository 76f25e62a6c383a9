// Saves that meet something in their way, through the real program: links planted at
// temporary names, temporaries left by a crash.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/cli/saved_files.h"
#include "tests/support/cli_run.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

namespace fs = std::filesystem;
using test::hasHiddenFile;
using test::itemName;
using test::namesIn;
using test::readFile;
using test::runVerada;
using test::smallRaster;
using test::writeFile;

// Links planted where the temporaries go (under the first name each tries, and under the fixed
// name of older versions) are neither followed nor replaced, and the outputs are files.
TEST(FailedWrites, LinksAtTemporaryNamesAreNeverFollowed) {
    test::TempDir dir;
    fs::create_directory(dir / "items");
    writeFile(dir / "items" / itemName(1), "item one");
    writeFile(dir / "creature.pmet", "not a PMET file");
    writeFile(dir / "tree.rast", smallRaster());
    writeFile(dir / "victim", "untouched");
    fs::create_directory(dir / "out");
    for (const std::string& output : {std::string("out.package"), std::string("creature.txt"),
                                      std::string("tree-mm00.dds"), "out/" + itemName(1)}) {
        const fs::path path = dir / output;
        for (const char* temporary : {".tmp", ".verada-partial"}) {
            fs::create_symlink(dir / "victim",
                               path.parent_path() / ("." + path.filename().string() + temporary));
        }
    }
    const std::vector<std::vector<std::string>> commands = {{"pack", "items", "out.package"},
                                                            {"unpack", "out.package"},
                                                            {"pmet", "creature.pmet"},
                                                            {"rast2dds", "tree.rast"}};
    for (const std::vector<std::string>& command : commands) {
        test::CliRun run = runVerada(dir.path(), command);
        EXPECT_EQ(run.status, command[0] == "pmet" ? 1 : 0) << command[0] << ": " << run.err;
    }
    EXPECT_EQ(readFile(dir / "victim"), "untouched");
    for (const char* output : {"out.package", "creature.txt", "tree-mm00.dds"}) {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / output))) << output;
    }
    EXPECT_EQ(readFile(dir / "out" / itemName(1)), "item one");
    EXPECT_EQ(fs::file_size(dir / "tree-mm00.dds"), 128u + 256u);
}

// A run killed with kill -9 leaves its temporary behind; many such runs must not block the next.
TEST(FailedWrites, StaleTemporariesDoNotBlockRast2dds) {
    test::TempDir dir;
    writeFile(dir / "tree.rast", smallRaster());
    std::vector<std::string> stale = {".tree-mm00.dds.tmp", "tree-mm00.dds.tmp"};
    for (int i = 1; stale.size() < 120; ++i) {
        stale.push_back("tree-mm00.dds.tmp" + std::to_string(i));
    }
    for (const std::string& name : stale) {
        writeFile(dir / name, "stale");
    }
    test::CliRun run = runVerada(dir.path(), {"rast2dds", "tree.rast"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "tree.rast converted, no error.\n");
    EXPECT_EQ(fs::file_size(dir / "tree-mm00.dds"), 128u + 256u);
    EXPECT_EQ(namesIn(dir.path()).size(), stale.size() + 2);
}

}  // namespace
}  // namespace verada
