#include <filesystem>
#include <string>

#include <OgreCamera.h>
#include <OgreRenderWindow.h>
#include <OgreSceneNode.h>
#include <QAction>
#include <QImage>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "engine/scene/scene_nodes.h"
#include "tests/support/picture_difference.h"
#include "tests/support/viewer_fixture.h"
#include "ui/main_window.h"
#include "ui/menu_table.h"
#include "ui/render_view.h"

namespace verada {
namespace {

using test::PictureDifference;

// The View menu on the real window and engine: Home frames, F12 saves what the view shows.
class ViewMenu : public test::ViewerFixture {
  protected:
    void SetUp() override {
        test::ViewerFixture::SetUp();
        startSession();
        // Shortcuts reach the active window only. A loaded machine can take longer than Qt's
        // default five seconds to activate it.
        window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window(), 60000));
    }

    MainWindow& window() { return session_->window(); }

    // F12, answered in the save dialog with a file of the test's folder.
    QImage screenshot(const std::string& name) {
        platform_.fileAnswers.push_back((dir_ / name).string());
        QTest::keyClick(&window(), Qt::Key_F12);
        EXPECT_TRUE(platform_.fileAnswers.empty());
        return QImage(QString::fromStdString((dir_ / name).string()));
    }

    // Where the model shows: the view with it and without it, through one camera.
    PictureDifference modelPixels(Ogre::SceneNode& model, const std::string& name) {
        QImage with = screenshot(name + ".png");
        toggleNodeVisibility(state(), model.getName());
        QImage without = screenshot(name + "-without.png");
        toggleNodeVisibility(state(), model.getName());
        QSize view(static_cast<int>(state().renderWindow->getWidth()),
                   static_cast<int>(state().renderWindow->getHeight()));
        EXPECT_EQ(with.size(), view) << name;
        EXPECT_EQ(without.size(), view) << name;
        return test::comparePictures(with, without);
    }

    // Home shows the model whole and large, and a pan from there keeps it in view.
    void expectHomeFrames(const char* sample) {
        window().openFiles({test::samplePath(sample).string()});
        Ogre::SceneNode& model = *modelNodes(state()).back();
        QTest::keyClick(window().renderView(), 'c');
        QTest::keyClick(&window(), Qt::Key_Home);
        PictureDifference framed = modelPixels(model, "framed");
        QSize size(static_cast<int>(state().renderWindow->getWidth()),
                   static_cast<int>(state().renderWindow->getHeight()));
        EXPECT_GE(framed.span(size), 0.4) << sample;
        EXPECT_FALSE(framed.touchesEdge(size)) << sample;

        float framedX = state().viewSettings.cameraXPos;
        window().carryOut({InputAction::PanCamera, 4, 3});
        EXPECT_FLOAT_EQ(state().viewSettings.cameraXPos, framedX + 0.2f) << sample;
        PictureDifference panned = modelPixels(model, "panned");
        EXPECT_GT(panned.count, framed.count / 2) << sample;
        EXPECT_FALSE(panned.touchesEdge(size)) << sample;
        EXPECT_NE(panned.left, framed.left) << sample;
        toggleNodeVisibility(state(), model.getName());
    }
};

TEST_F(ViewMenu, HomeFramesTheSamplesAndF12SavesTheView) {
    expectHomeFrames("gmdc/teapot_model.extracted.5gd");
    expectHomeFrames("gmdl/Megamouth.gmdl");
    EXPECT_TRUE(platform_.messages.empty());

    // A file that cannot be replaced says why; a cancelled save dialog says nothing.
    std::filesystem::create_directory(dir_ / "taken.png");
    platform_.fileAnswers.push_back((dir_ / "taken.png").string());
    window().runCommand(kCmdSaveScreenshot);
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text.rfind("ERR: Unable to write ", 0), 0u);
    platform_.fileAnswers.push_back(std::nullopt);
    window().runCommand(kCmdSaveScreenshot);
    EXPECT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(std::filesystem::current_path(), dir_.path());
}

TEST_F(ViewMenu, StatusBarTellsWhatIsLoadedAndSelected) {
    EXPECT_EQ(window().statusText().toStdString(), "No models");
    std::string teapot = test::samplePath("gmdc/teapot_model.extracted.5gd").string();
    std::string shark = test::samplePath("gmdl/Megamouth.gmdl").string();
    window().openFiles({teapot, shark});
    EXPECT_EQ(window().statusText().toStdString(), "2 models: 23863 vertices, 23730 faces");

    // A click on the shark, which the frame puts in the middle of the view.
    QTest::keyClick(&window(), Qt::Key_Home);
    toggleNodeVisibility(state(), modelNodes(state()).front()->getName());
    QTest::keyClick(&window(), Qt::Key_Home);
    QSize view = window().renderView()->size();
    QTest::mouseClick(window().renderView(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(view.width() / 2, view.height() / 2));
    EXPECT_EQ(window().statusText().toStdString(),
              "Megamouth: 10615 vertices, 17410 faces, from " + shark);

    window().runCommand(kCmdStatusBar);
    EXPECT_TRUE(window().statusBar()->isHidden());
    EXPECT_FALSE(window().action(kCmdStatusBar)->isChecked());
    window().action(kCmdStatusBar)->trigger();
    EXPECT_FALSE(window().statusBar()->isHidden());
    EXPECT_TRUE(window().action(kCmdStatusBar)->isChecked());
}

}  // namespace
}  // namespace verada
