#include "ui/dialogs/package_contents_dialog.h"

#include <filesystem>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include "formats/package/package_index.h"
#include "platform/application_identity.h"
#include "tests/support/fake_platform.h"
#include "tests/support/test_paths.h"
#include "ui/commands/list_package_command.h"

namespace verada {
namespace {

namespace fs = std::filesystem;

// One offscreen application for the whole test program; no X server is needed.
class QtApplication : public ::testing::Environment {
  public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application_ = new QApplication(argc_, argv_);
    }
    void TearDown() override { delete application_; }

  private:
    int argc_ = 1;
    char name_[24] = "package_contents_dialog";
    char* argv_[2] = {name_, nullptr};
    QApplication* application_ = nullptr;
};

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtApplication);

// The table as the user sees it: the heading, then each row.
std::vector<std::vector<std::string>> tableTexts(QWidget* dialog) {
    auto* table = dialog->findChild<QTableWidget*>("id1102");
    std::vector<std::vector<std::string>> texts;
    if (table == nullptr) {
        return texts;
    }
    std::vector<std::string> heading;
    for (int column = 0; column < table->columnCount(); ++column) {
        heading.push_back(table->horizontalHeaderItem(column)->text().toStdString());
    }
    texts.push_back(heading);
    for (int row = 0; row < table->rowCount(); ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            cells.push_back(table->item(row, column)->text().toStdString());
        }
        texts.push_back(cells);
    }
    return texts;
}

class ListPackageCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::current_path(dir.path());
        directories = {dir.path().string(), dir.path().string()};
    }

    // Runs the command with the package as the file dialog's answer; what the dialog showed
    // comes back, and the dialog is closed with OK.
    std::vector<std::vector<std::string>> listShown(const fs::path& package) {
        platform.fileAnswers.push_back(package.string());
        std::vector<std::vector<std::string>> shown;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog == nullptr) {
                return;
            }
            shown = tableTexts(dialog);
            summary = dialog->findChild<QLabel*>("id1101")->text().toStdString();
            title = dialog->windowTitle().toStdString();
            auto* ok = dialog->findChild<QPushButton*>("id1");
            okIsDefault = ok->isDefault();
            ok->click();
        });
        listPackageCommand(platform, directories, nullptr);
        return shown;
    }

    test::TempDir dir;
    test::FakePlatform platform;
    SessionDirectories directories;
    std::string summary;
    std::string title;
    bool okIsDefault = false;
};

TEST_F(ListPackageCommand, ShowsTheIndexInATable) {
    const std::vector<std::vector<std::string>> shown =
        listShown(test::samplePath("qfs/sims2-simpe/quaxi_nl_censor_v1.compressed.package"));
    const std::vector<std::vector<std::string>> expected = {
        {"Type", "Name", "Group", "Instance", "Resource", "Offset", "Stored", "Size", "Compressed"},
        {"CD7FE87A", "UNKN", "1C0532FA", "FF703EE0", "B8D92FFE", "00000060", "5341", "14180",
         "yes"},
        {"E86B1EEF", "CLST", "E86B1EEF", "286B1F03", "00000000", "0000153D", "20", "20", "no"},
    };
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(summary,
              "quaxi_nl_censor_v1.compressed.package: DBPF 1.1, 2 items, 1 compressed, 5361 "
              "bytes stored, 14200 bytes unpacked");
    EXPECT_EQ(title, "Package Contents");
    EXPECT_TRUE(okIsDefault);
    ASSERT_EQ(platform.fileRequests.size(), 1u);
    EXPECT_EQ(platform.fileRequests[0].defaultExtension, "package");
    EXPECT_EQ(platform.fileRequests[0].filters[0].pattern, "*.package");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(fs::current_path(), dir.path());
}

TEST_F(ListPackageCommand, APackageThatCannotBeReadShowsItsError) {
    test::writeFile(dir / "bad.package", std::string("DBPF\x07\x00\x00\x00", 8));
    platform.fileAnswers.push_back((dir / "bad.package").string());
    listPackageCommand(platform, directories, nullptr);  // would wait here if a dialog came up
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "ERR: Expected Version 2, found 0x00000007.");
    EXPECT_EQ(platform.messages[0].caption, kApplicationCaption);
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::Ok);
}

}  // namespace
}  // namespace verada
