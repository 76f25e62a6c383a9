#include "formats/io/atomic_file.h"

#include <cerrno>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

namespace verada {
namespace {

namespace fs = std::filesystem;

int entriesIn(const fs::path& folder) {
    int count = 0;
    for (auto it = fs::directory_iterator(folder); it != fs::directory_iterator(); ++it) {
        ++count;
    }
    return count;
}

TEST(AtomicFile, CommitReplacesTheTargetWhole) {
    for (Durability durability : {Durability::Synced, Durability::Bulk}) {
        test::TempDir dir;
        test::writeFile(dir / "out.txt", "old contents, longer than the new");
        AtomicFile file((dir / "out.txt").string(), durability);
        ASSERT_TRUE(file.isOpen());
        EXPECT_EQ(file.write("new ", 4), 4u);
        std::fprintf(file.stream(), "%s %d", "text", 2);
        // Until the commit the target is as it was.
        EXPECT_EQ(test::readFile(dir / "out.txt"), "old contents, longer than the new");
        EXPECT_EQ(test::readFile(dir / ".out.txt.tmp"), "");
        ASSERT_TRUE(file.commit());
        EXPECT_EQ(test::readFile(dir / "out.txt"), "new text 2");
        EXPECT_EQ(entriesIn(dir.path()), 1);
    }
}

TEST(AtomicFile, AFailedSaveLeavesTheOldFileAndNoTemporary) {
    test::TempDir dir;
    test::writeFile(dir / "keep.txt", "old");
    {
        // Dropped without a commit, as when a writer fails half-way.
        AtomicFile file((dir / "keep.txt").string());
        file.write("half", 4);
    }
    EXPECT_EQ(test::readFile(dir / "keep.txt"), "old");
    EXPECT_EQ(entriesIn(dir.path()), 1);

    // The rename fails: a folder stands where the file should go.
    fs::create_directory(dir / "folder.txt");
    test::writeFile(dir / "folder.txt" / "inside", "x");
    AtomicFile blocked((dir / "folder.txt").string());
    ASSERT_TRUE(blocked.isOpen());
    blocked.write("new", 3);
    EXPECT_FALSE(blocked.commit());
    EXPECT_TRUE(fs::is_directory(dir / "folder.txt"));
    EXPECT_EQ(entriesIn(dir.path()), 2);

    // No temporary can be made in a folder that is not there.
    AtomicFile nowhere((dir / "absent" / "x.txt").string());
    EXPECT_FALSE(nowhere.isOpen());
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(nowhere.commit());
}

// Whatever waits under the temporary name (a link planted to make us write elsewhere, or a
// file left by a crash) is never opened, followed or overwritten, and never blocks the save.
TEST(AtomicFile, NamesInTheWayAreNeverFollowedNorBlockTheSave) {
    test::TempDir dir;
    test::writeFile(dir / "victim", "untouched");
    fs::create_symlink(dir / "victim", dir / ".out.bin.tmp");
    fs::create_symlink(dir / "nowhere", dir / ".other.bin.tmp");
    test::writeFile(dir / ".stale.bin.tmp", "stale");

    for (const char* name : {"out.bin", "other.bin", "stale.bin"}) {
        AtomicFile file((dir / name).string());
        ASSERT_TRUE(file.isOpen()) << name;
        // The temporary went under another name, as a file of its own.
        int temporaries = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir.path())) {
            std::string found = entry.path().filename().string();
            if (found.rfind("." + std::string(name) + ".", 0) == 0 &&
                found != "." + std::string(name) + ".tmp") {
                EXPECT_TRUE(entry.is_regular_file() && !entry.is_symlink()) << found;
                ++temporaries;
            }
        }
        EXPECT_EQ(temporaries, 1) << name;
        file.write("saved", 5);
        ASSERT_TRUE(file.commit()) << name;
        EXPECT_EQ(test::readFile(dir / name), "saved");
    }
    EXPECT_EQ(test::readFile(dir / "victim"), "untouched");
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
    EXPECT_TRUE(fs::is_symlink(dir / ".out.bin.tmp"));
    EXPECT_EQ(test::readFile(dir / ".stale.bin.tmp"), "stale");
}

}  // namespace
}  // namespace verada
