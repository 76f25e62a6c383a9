#include <cstdlib>
#include <filesystem>
#include <functional>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <OgreColourValue.h>
#include <OgreImage.h>
#include <OgreMaterialManager.h>
#include <OgrePixelFormat.h>
#include <OgreRenderWindow.h>

#include <gtest/gtest.h>

#include "formats/config/profile.h"
#include "tests/support/viewer_fixture.h"
#include "ui/dialogs/keys_and_mouse_dialog.h"
#include "ui/main_window.h"
#include "ui/menu_table.h"
#include "ui/render_view.h"
#include "ui/viewer_session.h"

namespace verada {
namespace {

class ViewerFixture : public test::ViewerFixture {
  protected:
    Ogre::ColourValue pixel(float u, float v) {
        return pixelAt({static_cast<int>(u * (state().clientRect.right - 1)),
                        static_cast<int>(v * (state().clientRect.bottom - 1))});
    }
    void expectToolsMenuReachesItsCommands();
};

// Each Tools command opens its own dialog first: cancelling it shows which command ran.
void ViewerFixture::expectToolsMenuReachesItsCommands() {
    MainWindow& window = session_->window();
    struct Case {
        int command;
        bool warningFirst;  // answered with Cancel, so no file dialog follows
        std::vector<std::string> messages;
    } cases[] = {
        {kCmdConvertRaster, false, {"File not located"}},
        {kCmdViewPmet, false, {"File not located", "File not found."}},
        {kCmdUnpackArchive, false, {"File not located"}},
        {kCmdPackArchive, true, {"Use care with this function. The first\r\nfile dialog"}},
    };
    for (const Case& c : cases) {
        platform_.messages.clear();
        if (c.warningFirst) {
            platform_.messageAnswers.push_back(kMessageCancel);
        } else {
            platform_.fileAnswers.push_back(std::nullopt);
        }
        window.runCommand(c.command);
        ASSERT_EQ(platform_.messages.size(), c.messages.size()) << c.command;
        for (size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(platform_.messages[i].text.rfind(c.messages[i], 0), 0u)
                << platform_.messages[i].text;
        }
        EXPECT_TRUE(platform_.fileAnswers.empty());
        EXPECT_TRUE(platform_.messageAnswers.empty());
    }

    std::string seenTitle;
    QTimer::singleShot(0, [&seenTitle] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        seenTitle = dialog->windowTitle().toStdString();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    window.runCommand(kCmdHashFunction);
    EXPECT_EQ(seenTitle, "Hash function");
}

// Help > "Keys and Mouse" lists every key and gesture, the new ones among them.
void expectKeysAndMouseHelp(MainWindow& window) {
    QString seenText;
    QTimer::singleShot(0, [&seenText] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Keys and Mouse");
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            seenText += label->text();
        }
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    window.runCommand(kCmdKeysAndMouse);
    for (const auto* rows : {&KeysAndMouseDialog::keys(), &KeysAndMouseDialog::mouse()}) {
        for (const Gesture& row : *rows) {
            EXPECT_TRUE(seenText.contains(QString(row.input).toHtmlEscaped())) << row.input;
        }
    }
    EXPECT_TRUE(seenText.contains("<b>Home</b>"));
    EXPECT_TRUE(seenText.contains("<b>F12</b>"));
}

using ViewerStart = ViewerFixture;
using ViewerQuit = ViewerFixture;

TEST_F(ViewerStart, ShowsTitleMenuAndFirstFrameAndDispatches) {
    platform_.memoryLoad = 5;
    // A far backdrop leaves the top corners to the background colour.
    startSession("[SceneParms]\r\nBackgroundShift=1000\r\n");
    MainWindow& window = session_->window();
    ASSERT_TRUE(session_->state().renderFrame());
    EXPECT_EQ(window.windowTitle().toStdString(),
              "Verada V0.22 - created by Dudoda : Global Memory Usage 05%");
    platform_.memoryLoad = 100;
    session_->state().renderFrame();
    EXPECT_EQ(window.windowTitle().toStdString(),
              "Verada V0.22 - created by Dudoda : Global Memory Usage 100%");
    EXPECT_EQ(window.width(), 1024);
    EXPECT_EQ(window.height(), 768);

    // The menus as the window shows them, each item as "text id [shortcut] [check]".
    std::vector<std::vector<std::string>> shown;
    for (QAction* menu : window.menuBar()->actions()) {
        std::vector<std::string> items{menu->text().toStdString()};
        for (QAction* item : menu->menu()->actions()) {
            std::string line = item->text().toStdString() + " " + item->objectName().toStdString();
            line +=
                item->shortcut().isEmpty() ? "" : " " + item->shortcut().toString().toStdString();
            line += item->isCheckable() ? (item->isChecked() ? " [x]" : " [ ]") : "";
            if (item->menu() != nullptr) {
                for (QAction* entry : item->menu()->actions()) {
                    line += " " + entry->objectName().toStdString();
                }
            }
            items.push_back(line);
        }
        shown.push_back(items);
    }
    const std::vector<std::vector<std::string>> expected = {
        {"&File", "Save As .RTS id32811", "Load .RTS id32812", "Save Scene as glTF/OBJ... id32820",
         "Open Recent recentFiles id32840 id32841 id32842 id32843 id32844 id32845 id32846 id32847",
         "E&xit id105"},
        {"SceneNodes", "Toggle Node Visibility id32786", "Dynamic Rendering id32788 [ ]",
         "Selected Properties id32795", "Remove All id32808"},
        {"Meshes", "Add New Node (Sims 2) id32776", "Add New Node (Spore GMDL) id32798",
         "Add New Node (Spore GMSH) id32800", "Add New Node (Ogre) id32797",
         "Add To Existing Node id32777", "Save Mesh as .mesh id32783",
         "Add Models From Package... id32822"},
        {"Materials", "Create or Edit Materials id111", "Assign Materials id32780",
         "Load Ogre Material id32791"},
        {"Tools", "Convert .rast to .dds id32801", "Unpack DBPF|DBBF (V2) id32802",
         "View PMET file id32804", "Spawn POV-Ray id32806", "Pack DBPF (V2) id32814",
         "Hash Function id32816", "List Package Contents... id32821",
         "Pack DBPF (V2), Compressed... id32823"},
        {"View", "Frame id32830 Home", "Save Screenshot... id32831 F12", "Status Bar id32832 [x]"},
        {"&Help", "Keys and Mouse id32833", "&About ... id104"},
    };
    EXPECT_EQ(shown, expected);
    EXPECT_FALSE(window.findChild<QAction*>("recentFiles")->isEnabled());

    Ogre::ColourValue corner = pixel(0.02f, 0.02f);
    EXPECT_NEAR(corner.r, 0.1f, 0.01f);
    EXPECT_NEAR(corner.g, 0.1f, 0.01f);
    EXPECT_NEAR(corner.b, 0.45f, 0.01f);
    // The floor, lit by the orange-tinted light, fills the bottom of the view.
    Ogre::ColourValue floor = pixel(0.5f, 0.95f);
    EXPECT_GT(floor.r, floor.b + 0.02f);
    EXPECT_GT(floor.r, 0.02f);

    QTest::keyClick(window.renderView(), 'M');
    int materials = 0;
    for (auto all = Ogre::MaterialManager::getSingleton().getResourceIterator();
         all.hasMoreElements(); all.moveNext()) {
        ++materials;
    }
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].caption, "Materials Iterated");
    EXPECT_EQ(platform_.messages[0].text,
              "Num Materials = " + std::to_string(std::min(materials, 128)));
    EXPECT_TRUE(platform_.messages[0].hasOwner);

    window.runCommand(kCmdDynamicRendering);
    EXPECT_TRUE(window.action(kCmdDynamicRendering)->isChecked());
    window.runCommand(kCmdDynamicRendering);
    EXPECT_FALSE(window.action(kCmdDynamicRendering)->isChecked());

    expectToolsMenuReachesItsCommands();
    expectKeysAndMouseHelp(window);
}

void expectConfigWritten(const std::filesystem::path& file) {
    IniProfile config = IniProfile::load(file.string());
    EXPECT_EQ(config.readString("SceneParms", "CameraDist", ""), "2.000000");
    EXPECT_EQ(config.readInt("SceneParms", "SaveFinalView", -1), 0);
    EXPECT_EQ(config.readString("CustomColors", "ColorSet15", ""), "31 63 127");
}

TEST_F(ViewerQuit, KeyQ) {
    startSession("");
    int code = runUntilQuit([this] { QTest::keyClick(session_->window().renderView(), 'q'); });
    EXPECT_EQ(code, 0);
    expectConfigWritten(dir_ / "Verada.cfg");
}

TEST_F(ViewerQuit, WindowClose) {
    startSession("");
    int code = runUntilQuit([this] { session_->window().close(); });
    EXPECT_EQ(code, 0);
    expectConfigWritten(dir_ / "Verada.cfg");
}

TEST_F(ViewerQuit, ExitCommand) {
    startSession("");
    int code = runUntilQuit([this] { session_->window().action(kCmdExit)->trigger(); });
    EXPECT_EQ(code, 0);
    expectConfigWritten(dir_ / "Verada.cfg");
}

}  // namespace
}  // namespace verada
