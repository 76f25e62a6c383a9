#include "ui/dialogs/package_contents_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"
#include "tests/support/test_paths.h"
#include "ui/commands/list_package_command.h"

namespace verada {
namespace {

// Tools > "List Package Contents...": the package's index in a table, or its error.
TEST(ListPackageCommand, ShowsTheIndexOrTheError) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "package_contents_dialog_test";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    test::TempDir dir;
    test::FakePlatform platform;
    SessionDirectories directories{dir.path().string(), dir.path().string()};

    std::vector<std::vector<std::string>> shown;
    std::string summary;
    platform.fileAnswers.push_back(
        test::samplePath("qfs/sims2-simpe/quaxi_nl_censor_v1.compressed.package").string());
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        if (auto* table = dialog->findChild<QTableWidget*>("id1102")) {
            for (int row = -1; row < table->rowCount(); ++row) {
                std::vector<std::string> cells;
                for (int column = 0; column < table->columnCount(); ++column) {
                    QTableWidgetItem* cell =
                        row < 0 ? table->horizontalHeaderItem(column) : table->item(row, column);
                    cells.push_back(cell->text().toStdString());
                }
                shown.push_back(cells);
            }
        }
        if (auto* label = dialog->findChild<QLabel*>("id1101")) {
            summary = label->text().toStdString();
        }
        if (auto* ok = dialog->findChild<QPushButton*>("id1")) {
            ok->click();
        } else {
            dialog->reject();
        }
    });
    listPackageCommand(platform, directories, nullptr);
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
    EXPECT_EQ(platform.fileRequests.at(0).filters.at(0).pattern, "*.package");
    EXPECT_TRUE(platform.messages.empty());

    // No dialog for a package that cannot be read: the command returns after its message.
    test::writeFile(dir / "bad.package", std::string("DBPF\x07\x00\x00\x00", 8));
    platform.fileAnswers.push_back((dir / "bad.package").string());
    listPackageCommand(platform, directories, nullptr);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "ERR: Expected Version 2, found 0x00000007.");
}

}  // namespace
}  // namespace verada
