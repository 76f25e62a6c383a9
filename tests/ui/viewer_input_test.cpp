#include <cstdlib>
#include <functional>

#include <OgreCamera.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "engine/scene/camera_placement.h"
#include "tests/support/viewer_fixture.h"
#include "ui/main_window.h"
#include "ui/menu_table.h"
#include "ui/render_view.h"

namespace verada {
namespace {

// The viewer driven as a user drives it: menu commands, clicks and drags on the 3D view.
// Alt is read from the X server's key state, so it is pressed there through XTEST.
class ViewerInput : public test::ViewerFixture {
  protected:
    void SetUp() override {
        test::ViewerFixture::SetUp();
        startSession();
    }

    MainWindow& window() { return session_->window(); }
    RenderView* view() { return window().renderView(); }

    void click(std::pair<int, int> at) {
        QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, QPoint(at.first, at.second));
    }

    // Hovers to the start, then moves there to the end with the buttons held.
    void drag(Qt::MouseButtons buttons, QPoint from, QPoint to,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QMouseEvent hover(QEvent::MouseMove, from, view()->mapToGlobal(from), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view(), &hover);
        QMouseEvent move(QEvent::MouseMove, to, view()->mapToGlobal(to), Qt::NoButton, buttons,
                         modifiers);
        QApplication::sendEvent(view(), &move);
    }

    static void xdotool(const char* arguments) {
        ASSERT_EQ(std::system((std::string("xdotool ") + arguments).c_str()), 0) << arguments;
    }

    // Runs a menu command whose modal dialog the given steps fill in and close.
    void withDialog(int command, const std::function<void(QWidget*)>& steps) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            seen = true;
            steps(dialog);
        });
        window().action(command)->trigger();
        EXPECT_TRUE(seen);
    }

    static void press(QWidget* dialog, const char* button) {
        auto* found = dialog->findChild<QAbstractButton*>(button);
        ASSERT_NE(found, nullptr) << button;
        QTest::mouseClick(found, Qt::LeftButton);
    }

    Ogre::SceneNode* node(const std::string& name) {
        return state().sceneManager->hasSceneNode(name) ? state().sceneManager->getSceneNode(name)
                                                        : nullptr;
    }

    std::pair<int, int> centreOf(Ogre::SceneNode* model) {
        model->_update(true, true);
        return project(model->_getWorldAABB().getCenter());
    }
};

TEST_F(ViewerInput, ModelsAreAddedPickedMovedAndEditedThroughTheWindow) {
    std::pair<int, int> middle{state().clientRect.right / 2, state().clientRect.bottom / 3};
    Ogre::ColourValue empty = pixelAt(middle);

    platform_.fileAnswers.push_back(test::samplePath("gmdl/Megamouth.gmdl").string());
    window().action(kCmdAddGmdl)->trigger();
    Ogre::SceneNode* megamouth = node("Megamouth");
    ASSERT_NE(megamouth, nullptr);
    EXPECT_EQ(currentDirectory(), state().directories.startupDirectory);
    std::pair<int, int> onModel = centreOf(megamouth);
    EXPECT_GT(distance(pixelAt(onModel), empty), 0.05f);

    click(onModel);
    EXPECT_EQ(state().selectedNodeName, "Megamouth");
    EXPECT_TRUE(megamouth->getShowBoundingBox());
    click({5, state().clientRect.bottom - 5});  // the floor, far from the model
    EXPECT_EQ(state().selectedNodeName, "");
    EXPECT_FALSE(megamouth->getShowBoundingBox());

    Ogre::Vector3 before = cameraPosition(*state().camera);
    xdotool("keydown alt");
    drag(Qt::LeftButton, QPoint(300, 300), QPoint(200, 300));
    QWheelEvent towardUser(QPointF(300, 300), view()->mapToGlobal(QPointF(300, 300)), QPoint(),
                           QPoint(0, -120), Qt::NoButton, Qt::AltModifier, Qt::NoScrollPhase,
                           false);
    QApplication::sendEvent(view(), &towardUser);
    xdotool("keyup alt");
    EXPECT_FLOAT_EQ(state().viewSettings.cameraDist, 2.0f - 0.05f);
    Ogre::Vector3 after = cameraPosition(*state().camera);
    EXPECT_GT(before.distance(after), 0.1f);
    EXPECT_FLOAT_EQ(state().orbitYaw, 100 * 0.125f);
    QTest::keyClick(view(), 'c');
    onModel = centreOf(megamouth);

    // Ctrl + middle drag moves the selected model to the right.
    click(onModel);
    ASSERT_EQ(state().selectedNodeName, "Megamouth");
    drag(Qt::MiddleButton, QPoint(100, 100), QPoint(120, 100), Qt::ControlModifier);
    EXPECT_NEAR(megamouth->getPosition().x, 1.0f, 1e-5f);
    QTest::keyClick(view(), 'r');
    EXPECT_NEAR(megamouth->getPosition().x, 0.0f, 1e-5f);

    withDialog(kCmdSelectedProperties, [](QWidget* dialog) {
        auto* x = dialog->findChild<QLineEdit*>("id1052");
        ASSERT_NE(x, nullptr);
        x->setText("2.5");
        press(dialog, "id1");
    });
    EXPECT_FLOAT_EQ(megamouth->getScale().x, 2.5f);
    EXPECT_FLOAT_EQ(megamouth->getScale().y, 1.0f);

    withDialog(kCmdToggleVisibility, [](QWidget* dialog) {
        auto* nodes = dialog->findChild<QComboBox*>("id1045");
        ASSERT_NE(nodes, nullptr);
        nodes->setCurrentIndex(nodes->findText("Megamouth"));
        press(dialog, "id1");
    });
    EXPECT_FALSE(megamouth->getAttachedObject(0)->isVisible());
    EXPECT_EQ(state().selectedNodeName, "");

    platform_.fileAnswers.push_back(test::samplePath("gmdc/TestMesh.5gd").string());
    withDialog(kCmdAddToExisting, [](QWidget* dialog) {
        auto* nodes = dialog->findChild<QComboBox*>("id1045");
        ASSERT_NE(nodes, nullptr);
        nodes->setCurrentIndex(nodes->findText("Megamouth"));
        dialog->findChild<QRadioButton*>("id1009")->setChecked(true);
        press(dialog, "id1");
    });
    EXPECT_EQ(megamouth->numAttachedObjects(), 2u);
    EXPECT_EQ(megamouth->getAttachedObject(1)->getName(), "TestMesh");

    window().action(kCmdRemoveAll)->trigger();
    EXPECT_EQ(state().sceneManager->getRootSceneNode()->numChildren(), 0u);
}

}  // namespace
}  // namespace verada
