#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "formats/package/package_index.h"
#include "tests/formats/package/rellabels_streams.h"
#include "tests/support/fake_platform.h"
#include "tests/support/test_paths.h"
#include "ui/commands/pack_command.h"
#include "ui/commands/unpack_command.h"

namespace verada {
namespace {

namespace fs = std::filesystem;
using test::FakePlatform;

constexpr const char* kCaption = "Verada V0.22 - created by Dudoda";

// A start-up folder, a folder of items and a sample package, with the start-up folder current.
class PackageCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::canonical(dir.path());
        fs::create_directory(root / "start");
        fs::create_directory(root / "items");
        fs::create_directory(root / "packages");
        test::writeFile(root / "items" / "KL-NOTE-2B6CAB5F-00000000-00000001.txt", "one");
        test::writeFile(root / "items" / "KL-GMDL-00E6BCE5-00000001-00000002.gmdl", "two");
        test::writeFile(root / "packages" / "cell.package",
                        test::readFile(test::samplePath(
                            "package/spore-smfx/Valla_CreaturePartUnlocking_Cell.package")));
        fs::current_path(root / "start");
        directories = {(root / "start").string(), (root / "last").string()};
    }

    test::TempDir dir;
    fs::path root;
    FakePlatform platform;
    SessionDirectories directories;
    int window = 0;
    WindowHandle mainWindow = &window;
};

TEST_F(PackageCommand, UnpackShowsTheReportAndReturnsToTheStartFolder) {
    platform.fileAnswers.push_back((root / "packages" / "cell.package").string());
    unpackArchiveCommand(platform, directories, mainWindow);

    ASSERT_EQ(platform.fileRequests.size(), 1u);
    EXPECT_FALSE(platform.fileRequests[0].save);
    EXPECT_EQ(platform.fileRequests[0].defaultExtension, "package");
    ASSERT_EQ(platform.fileRequests[0].filters.size(), 1u);
    EXPECT_EQ(platform.fileRequests[0].filters[0].text, "DBPF V2 files (*.package)");
    EXPECT_EQ(platform.fileRequests[0].filters[0].pattern, "*.package");

    ASSERT_EQ(platform.messages.size(), 1u);
    const FakePlatform::Message& message = platform.messages[0];
    EXPECT_EQ(message.text, "cell.package unpacked\r\nNo errors.\r\n12 index items found");
    EXPECT_EQ(message.caption, kCaption);
    EXPECT_TRUE(message.hasOwner);
    EXPECT_EQ(message.buttons, MessageButtons::Ok);
    EXPECT_EQ(platform.progressLabels.size(), 1u);
    EXPECT_EQ(platform.progressUpdates, 12u);

    EXPECT_TRUE(fs::exists(root / "packages" / "cell" / "KL-_PNG-2F7D0004-100D977C-3197668C.png"));
    EXPECT_EQ(fs::current_path(), root / "start");
    EXPECT_EQ(directories.lastUsedDirectory, (root / "packages").string());
}

TEST_F(PackageCommand, UnpackShowsTheFirstError) {
    test::writeFile(root / "packages" / "bad.package", "DBPF\x01");
    platform.fileAnswers.push_back((root / "packages" / "bad.package").string());
    unpackArchiveCommand(platform, directories, mainWindow);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "ERR: File read error.");
    EXPECT_TRUE(platform.messages[0].hasOwner);
    EXPECT_EQ(fs::current_path(), root / "start");
}

TEST_F(PackageCommand, UnpackCancelDoesNothingMore) {
    platform.fileAnswers.push_back(std::nullopt);
    unpackArchiveCommand(platform, directories, mainWindow);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "File not located");
    EXPECT_TRUE(platform.progressLabels.empty());
    EXPECT_EQ(fs::current_path(), root / "start");
    EXPECT_EQ(directories.lastUsedDirectory, (root / "last").string());
}

TEST_F(PackageCommand, PackWarnsThenAsksForASourceFileAndAPackage) {
    platform.fileAnswers.push_back(
        (root / "items" / "KL-NOTE-2B6CAB5F-00000000-00000001.txt").string());
    platform.fileAnswers.push_back((root / "packages" / "new.package").string());
    packArchiveCommand(platform, directories, mainWindow);

    ASSERT_EQ(platform.messages.size(), 1u);
    const FakePlatform::Message& warning = platform.messages[0];
    EXPECT_EQ(warning.text,
              "Use care with this function. The first\r\nfile dialog will be for you to specify a "
              "file\r\nfrom the source directory. Then you need to specify\r\nthe destination "
              "archive name in a second file dialog.\r\nBe careful not to overwrite your game "
              "files.");
    EXPECT_EQ(warning.caption, kCaption);
    EXPECT_TRUE(warning.hasOwner);
    EXPECT_EQ(warning.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(warning.icon, MessageIcon::Information);

    ASSERT_EQ(platform.fileRequests.size(), 2u);
    EXPECT_FALSE(platform.fileRequests[0].save);
    EXPECT_EQ(platform.fileRequests[0].defaultExtension, "txt");
    ASSERT_EQ(platform.fileRequests[0].filters.size(), 1u);
    EXPECT_EQ(platform.fileRequests[0].filters[0].text, "Any File (*.*)");
    EXPECT_EQ(platform.fileRequests[0].filters[0].pattern, "*.*");
    EXPECT_TRUE(platform.fileRequests[1].save);
    EXPECT_EQ(platform.fileRequests[1].defaultExtension, "package");
    ASSERT_EQ(platform.fileRequests[1].filters.size(), 2u);
    EXPECT_EQ(platform.fileRequests[1].filters[0].text, "Spore Archive files (*.package)");
    EXPECT_EQ(platform.fileRequests[1].filters[0].pattern, "*.package");
    EXPECT_EQ(platform.fileRequests[1].filters[1].text, "All Files (*.*)");
    EXPECT_EQ(platform.fileRequests[1].filters[1].pattern, "*.*");
    EXPECT_EQ(platform.fileRequests[1].initialDirectory, (root / "items").string());

    const std::string package = test::readFile(root / "packages" / "new.package");
    ASSERT_GE(package.size(), 40u);
    EXPECT_EQ(test::sampleLe32(package, 36), 2u);
    EXPECT_EQ(platform.progressLabels.size(), 1u);
    EXPECT_EQ(fs::current_path(), root / "start");
    EXPECT_EQ(directories.lastUsedDirectory, (root / "items").string());
}

TEST_F(PackageCommand, PackShowsErrors) {
    fs::create_directory(root / "empty");
    test::writeFile(root / "empty" / "readme.txt", "");
    platform.fileAnswers.push_back((root / "empty" / "readme.txt").string());
    platform.fileAnswers.push_back((root / "packages" / "new.package").string());
    packArchiveCommand(platform, directories, mainWindow);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text,
              "ERR: 00000002 No such file or directory on FindFirstFile().");
    EXPECT_EQ(platform.messages[1].caption, kCaption);
    EXPECT_TRUE(platform.messages[1].hasOwner);
    EXPECT_EQ(platform.messages[1].buttons, MessageButtons::Ok);
    EXPECT_FALSE(fs::exists(root / "packages" / "new.package"));
    EXPECT_EQ(fs::current_path(), root / "start");
    EXPECT_EQ(directories.lastUsedDirectory, (root / "empty").string());
}

TEST_F(PackageCommand, PackCancelledAtTheWarningChangesNothing) {
    platform.messageAnswers.push_back(kMessageCancel);
    fs::current_path(root / "items");
    packArchiveCommand(platform, directories, mainWindow);
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.fileRequests.empty());
    EXPECT_EQ(fs::current_path(), root / "items");
    EXPECT_EQ(directories.lastUsedDirectory, (root / "last").string());
}

TEST_F(PackageCommand, PackCancelledAtEitherDialogReturnsToTheStartFolder) {
    platform.fileAnswers.push_back(std::nullopt);
    packArchiveCommand(platform, directories, mainWindow);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, "File not located");
    EXPECT_EQ(platform.fileRequests.size(), 1u);
    EXPECT_EQ(fs::current_path(), root / "start");

    FakePlatform second;
    second.fileAnswers.push_back(
        (root / "items" / "KL-NOTE-2B6CAB5F-00000000-00000001.txt").string());
    second.fileAnswers.push_back(std::nullopt);
    packArchiveCommand(second, directories, mainWindow);
    ASSERT_EQ(second.messages.size(), 2u);
    EXPECT_EQ(second.messages[1].text, "File not found.");
    EXPECT_EQ(second.messages[1].caption, kCaption);
    EXPECT_TRUE(second.messages[1].hasOwner);
    EXPECT_EQ(second.messages[1].buttons, MessageButtons::Ok);
    EXPECT_TRUE(second.progressLabels.empty());
    EXPECT_EQ(fs::current_path(), root / "start");
}

// "Pack DBPF (V2), Compressed...": the same warning and dialogs, the items that shrink stored
// compressed.
TEST_F(PackageCommand, CompressedPackingAsksTheSameAndCompresses) {
    const std::string text(20000, 'z');
    test::writeFile(root / "items" / "KL-_XML-CF6C21B8-00000000-00000003.xml", text);
    platform.fileAnswers.push_back(
        (root / "items" / "KL-NOTE-2B6CAB5F-00000000-00000001.txt").string());
    platform.fileAnswers.push_back((root / "packages" / "small.package").string());
    packArchiveCommand(platform, directories, mainWindow, ItemStorage::CompressedWhenSmaller);

    EXPECT_EQ(platform.messages.size(), 1u);  // the warning
    EXPECT_EQ(platform.fileRequests.size(), 2u);
    Result<PackageIndex> index = readPackageIndex((root / "packages" / "small.package").string());
    ASSERT_TRUE(index) << index.error();
    ASSERT_EQ(index->items.size(), 3u);
    // "two" and "one" are too small to shrink.
    EXPECT_FALSE(index->items[0].compressed || index->items[1].compressed);
    EXPECT_TRUE(index->items[2].compressed);
    EXPECT_LT(index->items[2].storedSize, 100u);
}

}  // namespace
}  // namespace verada
