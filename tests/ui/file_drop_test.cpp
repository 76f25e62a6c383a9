#include <filesystem>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "engine/scene/scene_nodes.h"
#include "tests/support/viewer_fixture.h"
#include "ui/main_window.h"
#include "ui/menu_table.h"

namespace verada {
namespace {

// Files dropped on the window and chosen from File > "Open Recent", in the real viewer.
class FileDrop : public test::ViewerFixture {
  protected:
    MainWindow& window() { return session_->window(); }

    // Sent as Qt sends a drag from a file manager; true when the window took the files.
    bool drop(const std::vector<std::string>& urls) {
        QMimeData data;
        QList<QUrl> list;
        for (const std::string& url : urls) {
            list.push_back(url.front() == '/' ? QUrl::fromLocalFile(QString::fromStdString(url))
                                              : QUrl(QString::fromStdString(url)));
        }
        data.setUrls(list);
        QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&window(), &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent dropped(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(&window(), &dropped);
        QCoreApplication::processEvents();
        return dropped.isAccepted();
    }

    // The visible entries of "Open Recent", without their "&N " prefix.
    std::vector<std::string> recentEntries() {
        std::vector<std::string> entries;
        QMenu* menu = window().findChild<QAction*>("recentFiles")->menu();
        for (QAction* entry : menu->actions()) {
            if (entry->isVisible()) {
                entries.push_back(entry->text().mid(3).replace("&&", "&").toStdString());
            }
        }
        return entries;
    }

    std::size_t modelCount() { return modelNodes(state()).size(); }
};

TEST_F(FileDrop, DroppedAndRecentFilesOpenAsNewNodesAndAreRemembered) {
    const std::string gone = (dir_ / "gone.gmdl").string();
    const std::string mesh = test::samplePath("gmdc/TestMesh.5gd").string();
    const std::string teapot = test::samplePath("gmdc/teapot_model.extracted.5gd").string();
    const std::string shark = test::samplePath("gmdl/Megamouth.gmdl").string();
    const std::string notes = (dir_ / "notes & more.txt").string();
    test::writeFile(notes, "text");
    startSession("[RecentFiles]\r\nFile0=" + gone + "\r\nFile1=" + mesh + "\r\n");
    EXPECT_EQ(recentEntries(), (std::vector<std::string>{gone, mesh}));

    // Each good file becomes a node; the bad one has the loaders' warning, the rest still load.
    EXPECT_TRUE(drop({teapot, notes, shark}));
    EXPECT_EQ(modelCount(), 2u);
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text.rfind("ERR: Unknown file type", 0), 0u);
    EXPECT_EQ(platform_.messages[0].icon, MessageIcon::Warning);
    EXPECT_FALSE(platform_.messages[0].hasOwner);
    EXPECT_NE(state().viewSettings.cameraDist, 2.0f);  // framed
    EXPECT_EQ(recentEntries(), (std::vector<std::string>{shark, teapot, gone, mesh}));
    EXPECT_FALSE(drop({"https://example.com/model.gmdl"}));

    // A recent file that has gone is dropped from the list when chosen.
    platform_.messages.clear();
    window().runCommand(kCmdRecentFile0 + 2);
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, "ERR: File missing or damaged.");
    EXPECT_EQ(recentEntries(), (std::vector<std::string>{shark, teapot, mesh}));
    window().runCommand(kCmdRecentFile0 + 2);
    EXPECT_EQ(modelCount(), 3u);
    EXPECT_EQ(recentEntries(), (std::vector<std::string>{mesh, shark, teapot}));

    // A file added from the Meshes menu counts as well.
    platform_.fileAnswers.push_back(shark);
    window().runCommand(kCmdAddGmdl);
    EXPECT_EQ(modelCount(), 4u);
    EXPECT_EQ(recentEntries(), (std::vector<std::string>{shark, mesh, teapot}));

    EXPECT_EQ(runUntilQuit([this] { window().close(); }), 0);
    IniProfile config = IniProfile::load((dir_ / "Verada.cfg").string());
    EXPECT_EQ(config.readString("RecentFiles", "File0", "", 4096), shark);
    EXPECT_EQ(config.readString("RecentFiles", "File1", "", 4096), mesh);
    EXPECT_EQ(config.readString("RecentFiles", "File2", "", 4096), teapot);
    EXPECT_FALSE(config.hasKey("RecentFiles", "File3"));
}

}  // namespace
}  // namespace verada
