#include "ui/commands/raster_command.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/command_fixture.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

using test::FakePlatform;
using test::TempDir;
using test::writeFile;

std::string u32(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>(value >> (8 * i));
    }
    return bytes;
}

// Runs the command from a start-up folder with the raster in another folder.
class RasterCommand : public test::CommandFixture {
  protected:
    RasterCommand() : CommandFixture("textures") {}

    void run() { convertRasterCommand(platform_, directories_, &mainWindow_); }
};

TEST_F(RasterCommand, ConvertsTheChosenRasterAndShowsTheResult) {
    writeFile(folder_ + "/tree.rast", u32(1) + u32(0) + u32(0) + u32(1) + u32(8) + u32(21) +
                                          u32(16) + std::string(16, 'p'));
    platform_.fileAnswers.push_back(folder_ + "/tree.rast");
    run();

    ASSERT_EQ(platform_.fileRequests.size(), 1u);
    const FileDialogRequest& request = platform_.fileRequests[0];
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.defaultExtension, "rast");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].text, "Spore Raster files (*.rast)");
    EXPECT_EQ(request.filters[0].pattern, "*.rast");
    EXPECT_EQ(request.filters[1].text, "All Files (*.*)");
    EXPECT_EQ(request.filters[1].pattern, "*.*");

    ASSERT_EQ(platform_.messages.size(), 1u);
    const FakePlatform::Message& message = platform_.messages[0];
    EXPECT_TRUE(message.hasOwner);
    EXPECT_EQ(message.text, "tree.rast converted, no error.");
    EXPECT_EQ(message.caption, "Verada V0.22 - created by Dudoda");
    EXPECT_EQ(message.buttons, MessageButtons::Ok);
    EXPECT_EQ(message.icon, MessageIcon::None);

    EXPECT_EQ(std::filesystem::file_size(folder_ + "/tree-mm00.dds"), 128u + 16u);
    EXPECT_EQ(std::filesystem::current_path().string(), startup_);
    EXPECT_EQ(directories_.lastUsedDirectory, folder_);
}

TEST_F(RasterCommand, ShowsTheErrorText) {
    writeFile(folder_ + "/bad.rast", u32(2) + std::string(20, '\0'));
    platform_.fileAnswers.push_back(folder_ + "/bad.rast");
    run();

    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text,
              "ERR: Unrecognized version 2 specified, only version 1 implemented.");
    EXPECT_FALSE(std::filesystem::exists(folder_ + "/bad-mm00.dds"));
    EXPECT_EQ(std::filesystem::current_path().string(), startup_);
    EXPECT_EQ(directories_.lastUsedDirectory, folder_);
}

TEST_F(RasterCommand, CancelDoesNothingMore) {
    platform_.fileAnswers.push_back(std::nullopt);
    run();

    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, "File not located");
    EXPECT_EQ(std::filesystem::current_path().string(), startup_);
    EXPECT_EQ(directories_.lastUsedDirectory, "/last");
}

}  // namespace
}  // namespace verada
