#include <cstdlib>
#include <filesystem>
#include <functional>

#include <QAction>
#include <QApplication>
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

#include "ui/main_window.h"
#include "ui/menu_table.h"
#include "ui/render_view.h"
#include "ui/viewer_session.h"
#include "formats/config/profile.h"
#include "tests/support/viewer_fixture.h"

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

    QList<QAction*> menus = window.menuBar()->actions();
    ASSERT_EQ(menus.size(), static_cast<int>(mainMenu().size()));
    for (int m = 0; m < menus.size(); ++m) {
        EXPECT_EQ(menus[m]->text().toStdString(), mainMenu()[m].title);
        QList<QAction*> items = menus[m]->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<int>(mainMenu()[m].items.size()));
        for (int i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i]->text().toStdString(), mainMenu()[m].items[i].text);
            EXPECT_EQ(items[i]->objectName().toStdString(),
                      "id" + std::to_string(mainMenu()[m].items[i].id));
        }
    }
    EXPECT_TRUE(window.action(kCmdDynamicRendering)->isCheckable());
    EXPECT_FALSE(window.action(kCmdDynamicRendering)->isChecked());

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
