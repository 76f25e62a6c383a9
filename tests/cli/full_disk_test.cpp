// Saves on a full disk, through the real program: a small tmpfs, mounted when the test runs as
// root.
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
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

// A package of count items of size bytes each, made by the program from a folder of them.
std::string packedItems(int count, std::size_t size, char fill, bool compress) {
    test::TempDir dir;
    fs::create_directory(dir / "items");
    for (int i = 0; i < count; ++i) {
        writeFile(dir / "items" / itemName(i), std::string(size, fill));
    }
    std::vector<std::string> arguments = {"pack", "items", "out.package"};
    if (compress) {
        arguments.insert(arguments.begin() + 1, "--compress");
    }
    test::CliRun packed = runVerada(dir.path(), arguments);
    EXPECT_EQ(packed.status, 0) << packed.err;
    return readFile(dir / "out.package");
}

// A tmpfs of the given size, mounted over a fresh folder while the object lives.
class SmallDisk {
  public:
    explicit SmallDisk(const std::string& size) {
        if (geteuid() != 0) {
            why_ = "not root";
            return;
        }
        if (::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, ("size=" + size).c_str()) != 0) {
            why_ = std::string("mount failed: ") + std::strerror(errno);
            return;
        }
        mounted_ = true;
    }
    ~SmallDisk() {
        if (mounted_) {
            ::umount(dir_.path().c_str());
        }
    }
    bool mounted() const { return mounted_; }
    const std::string& whyNot() const { return why_; }
    fs::path operator/(const std::string& name) const { return dir_ / name; }
    const fs::path& path() const { return dir_.path(); }

    // Writes a file until the disk is full.
    void fill() const {
        std::FILE* filler = std::fopen((dir_ / "filler").c_str(), "wb");
        std::string block(4096, 'f');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
        }
        std::fclose(filler);
    }

  private:
    test::TempDir dir_;
    bool mounted_ = false;
    std::string why_;
};

#define SKIP_WITHOUT(disk)                                                                     \
    if (!(disk).mounted()) {                                                                   \
        GTEST_SKIP() << "A full disk needs a small tmpfs mounted by root (" << (disk).whyNot() \
                     << "): skipped.";                                                         \
    }

// The free-space check lets the items through (their sizes fit), but each takes a whole page
// of the tmpfs, so the disk fills half-way, as when something else fills it meanwhile.
TEST(FullDisk, UnpackLeavesOnlyWholeItems) {
    SmallDisk disk("1m");
    SKIP_WITHOUT(disk);
    const int count = 200;
    writeFile(disk / "many.package", packedItems(count, 4097, '\0', true));
    test::CliRun run = runVerada(disk.path(), {"unpack", "many.package"});
    EXPECT_EQ(run.status, 1);
    const std::set<std::string> names = namesIn(disk / "many");
    EXPECT_GT(names.size(), 0u);
    EXPECT_LT(names.size(), std::size_t{count});
    for (const std::string& name : names) {
        EXPECT_EQ(readFile(disk / "many" / name), std::string(4097, '\0')) << name;
    }
    EXPECT_FALSE(hasHiddenFile(disk / "many"));
    EXPECT_NE(run.err.find(": ERR: "), std::string::npos) << run.err;
}

// Each command's output already exists; on a full disk it stays as it was, and nothing else
// is left behind (no temporary, no .mtl beside the .obj).
TEST(FullDisk, SavesKeepTheOldFileAndLeaveNoPartialOne) {
    SmallDisk disk("1m");
    SKIP_WITHOUT(disk);
    fs::create_directory(disk / "items");
    writeFile(disk / "items" / itemName(1), std::string(20000, 'i'));
    writeFile(disk / "creature.pmet", "not a PMET file");
    writeFile(disk / "tree.rast", smallRaster());
    const std::vector<std::pair<std::string, std::string>> outputs = {
        {"creature.txt", "the old report"},  {"tree-mm00.dds", "the old picture"},
        {"out.package", "the old package"},  {"scene.rts", "the old scene"},
        {"model.mesh", "the old mesh"},      {"scene.pov", "the old POV-Ray scene"},
        {"scene.glb", "the old glTF scene"}, {"scene.obj", "the old OBJ scene"},
    };
    for (const auto& [name, content] : outputs) {
        writeFile(disk / name, content);
    }
    const std::set<std::string> before = namesIn(disk.path());
    disk.fill();
    const std::string model = test::samplePath("gmdc/TestMesh.5gd").string();
    const std::vector<std::vector<std::string>> commands = {{"pmet", "creature.pmet"},
                                                            {"rast2dds", "tree.rast"},
                                                            {"pack", "items", "out.package"},
                                                            {"export", "-o", "scene.rts", model},
                                                            {"export", "-o", "model.mesh", model},
                                                            {"export", "-o", "scene.pov", model},
                                                            {"export", "-o", "scene.glb", model},
                                                            {"export", "-o", "scene.obj", model}};
    for (const std::vector<std::string>& command : commands) {
        test::CliRun run = runVerada(disk.path(), command);
        const std::string& output = command[command.size() - (command[0] == "export" ? 2 : 1)];
        EXPECT_EQ(run.status, 1) << command[0] << " " << output;
        EXPECT_NE(run.err, "") << command[0] << " " << output;
    }
    for (const auto& [name, content] : outputs) {
        EXPECT_EQ(readFile(disk / name), content) << name;
    }
    std::set<std::string> after = namesIn(disk.path());
    after.erase("filler");
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace verada
