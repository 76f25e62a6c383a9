#include "platform/pick_file.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

using test::FakePlatform;
using test::TempDir;

TEST(PickFile, ChoiceMovesWorkingDirectoryAndReturnsBareName) {
    TempDir dir;
    std::filesystem::create_directory(dir / "models");
    test::writeFile(dir / "models" / "foo.gmdl", "x");
    std::string folder = std::filesystem::canonical(dir / "models").string();

    FakePlatform platform;
    platform.fileAnswers.push_back(folder + "/foo.gmdl");
    SessionDirectories directories{"/start", "/last"};
    std::optional<PickedFile> picked =
        pickFile(platform, directories, "gmdl", {{"Spore GMDL Files (*.gmdl)", "*.gmdl"}}, false);

    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->fileTitle, "foo.gmdl");
    EXPECT_EQ(picked->fullPath, folder + "/foo.gmdl");
    EXPECT_EQ(std::filesystem::current_path().string(), folder);
    EXPECT_EQ(directories.lastUsedDirectory, folder);
    EXPECT_EQ(directories.startupDirectory, "/start");
    ASSERT_EQ(platform.fileRequests.size(), 1u);
    const FileDialogRequest& request = platform.fileRequests[0];
    EXPECT_EQ(request.initialDirectory, "/last");
    EXPECT_EQ(request.title, "Verada V0.22 - created by Dudoda");
    EXPECT_EQ(request.defaultExtension, "gmdl");
    EXPECT_FALSE(request.save);
    EXPECT_TRUE(platform.messages.empty());
}

TEST(PickFile, CancelMessagesDependOnDialogKind) {
    TempDir dir;
    for (bool save : {false, true}) {
        FakePlatform platform;
        platform.fileAnswers.push_back(std::nullopt);
        SessionDirectories directories{"/start", "/last"};
        EXPECT_FALSE(pickFile(platform, directories, "x", {}, save));
        EXPECT_EQ(directories.lastUsedDirectory, "/last");
        if (save) {
            EXPECT_TRUE(platform.messages.empty());
        } else {
            ASSERT_EQ(platform.messages.size(), 1u);
            EXPECT_EQ(platform.messages[0].text, "File not located");
            EXPECT_EQ(platform.messages[0].caption, "File Error");
            EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
            EXPECT_FALSE(platform.messages[0].hasOwner);
        }
    }
}

TEST(WorkingDirectoryGuard, ReturnsToStartupUnlessAskedToStay) {
    TempDir dir;
    std::string start = std::filesystem::current_path().string();
    SessionDirectories directories{start, "/old"};
    for (bool stay : {false, true}) {
        {
            WorkingDirectoryGuard back(directories);
            std::filesystem::current_path(dir.path());
            if (stay) {
                back.stayHere();
            }
        }
        EXPECT_EQ(std::filesystem::current_path(),
                  stay ? std::filesystem::canonical(dir.path()) : std::filesystem::path(start));
    }
    EXPECT_EQ(directories.lastUsedDirectory, "/old");
    std::filesystem::current_path(start);
}

}  // namespace
}  // namespace verada
