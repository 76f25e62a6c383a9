#include "ui/commands/pmet_command.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/command_fixture.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

using test::FakePlatform;
using test::readFile;
using test::TempDir;
using test::writeFile;

std::string be(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

// A version 8 record: GUID, the id groups, three empty strings, no tags, the TGI.
std::string smallPmet() {
    std::string bytes = be(8) + "GUIDGUID";
    for (std::uint32_t id = 1; id <= 11; ++id) {
        bytes += be(id);
    }
    return bytes + be(0) + be(0) + be(0) + be(0) + be(0xA) + be(0xB) + be(0xC);
}

const char* const kSmallReport =
    "Alpha PMET contents parser\r\nYou should expect this to change in the future\r\n\r\n"
    "Version =      8\r\n"
    "GUID =         47 55 49 44 47 55 49 44 \r\n"
    "Creature ID 1: 00000001 00000002 00000003\r\n"
    "Creature ID 2: 00000004 00000005 00000006\r\n"
    "tid:           00000007 00000008\r\n"
    "User ID:       00000009 0000000A 0000000B\r\n"
    "User Name:     \r\n"
    "Creature Name: \r\n"
    "Comments:      \r\n"
    "Tag count:     0\r\n"
    "TGI 04:        0000000A 0000000B 0000000C\r\n";

class PmetCommand : public test::CommandFixture {
  protected:
    PmetCommand() : CommandFixture("creatures") {}

    void run() { viewPmetFile(platform_, directories_, &mainWindow_); }
};

TEST_F(PmetCommand, WritesTheReportBesideTheFileAndOpensIt) {
    writeFile(folder_ + "/creature.pmet", smallPmet());
    platform_.fileAnswers.push_back(folder_ + "/creature.pmet");
    run();

    ASSERT_EQ(platform_.fileRequests.size(), 1u);
    const FileDialogRequest& request = platform_.fileRequests[0];
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.defaultExtension, "pmet");
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].text, "Spore PMET files (*.pmet)");
    EXPECT_EQ(request.filters[0].pattern, "*.pmet");

    EXPECT_EQ(readFile(folder_ + "/creature.txt"), kSmallReport);
    EXPECT_EQ(platform_.openedFiles, std::vector<std::string>{folder_ + "/creature.txt"});
    EXPECT_TRUE(platform_.messages.empty());
    EXPECT_EQ(std::filesystem::current_path().string(), startup_);
    EXPECT_EQ(directories_.lastUsedDirectory, folder_);
}

TEST_F(PmetCommand, ParseErrorsAreShownInPlaceOfTheReport) {
    writeFile(folder_ + "/odd.pmet", be(9));
    platform_.fileAnswers.push_back(folder_ + "/odd.pmet");
    run();

    EXPECT_EQ(readFile(folder_ + "/odd.txt"), "ERR: Version 9 not known (only 8 and 10).");
    EXPECT_EQ(platform_.openedFiles, std::vector<std::string>{folder_ + "/odd.txt"});
    EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(PmetCommand, CancelSaysFileNotFound) {
    platform_.fileAnswers.push_back(std::nullopt);
    run();

    ASSERT_EQ(platform_.messages.size(), 2u);
    EXPECT_EQ(platform_.messages[0].text, "File not located");
    const FakePlatform::Message& message = platform_.messages[1];
    EXPECT_EQ(message.text, "File not found.");
    EXPECT_EQ(message.caption, "Verada V0.22 - created by Dudoda");
    EXPECT_EQ(message.buttons, MessageButtons::Ok);
    EXPECT_TRUE(message.hasOwner);
    EXPECT_TRUE(platform_.openedFiles.empty());
    EXPECT_EQ(std::filesystem::current_path().string(), startup_);
    EXPECT_EQ(directories_.lastUsedDirectory, "/last");
}

TEST_F(PmetCommand, ReportThatCannotBeCreated) {
    writeFile(folder_ + "/creature.pmet", smallPmet());
    std::filesystem::create_directory(folder_ + "/creature.txt");
    platform_.fileAnswers.push_back(folder_ + "/creature.pmet");
    run();

    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, "Unable to create .txt file.");
    EXPECT_EQ(platform_.messages[0].caption, "Verada V0.22 - created by Dudoda");
    EXPECT_TRUE(platform_.openedFiles.empty());
    EXPECT_EQ(std::filesystem::current_path().string(), startup_);
    EXPECT_EQ(directories_.lastUsedDirectory, folder_);
}

TEST_F(PmetCommand, ViewerThatCannotStartIsReported) {
    writeFile(folder_ + "/creature.pmet", smallPmet());
    platform_.fileAnswers.push_back(folder_ + "/creature.pmet");
    platform_.startSucceeds = false;
    run();

    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text,
              "ERR: Unable to open " + folder_ + "/creature.txt with the default viewer.");
    EXPECT_EQ(readFile(folder_ + "/creature.txt"), kSmallReport);
}

}  // namespace
}  // namespace verada
