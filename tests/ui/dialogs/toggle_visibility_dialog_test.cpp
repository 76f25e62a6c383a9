#include "ui/dialogs/toggle_visibility_dialog.h"

#include <OgreEntity.h>

#include "engine/scene/scene_nodes.h"
#include "tests/ui/dialogs/node_dialog_fixture.h"

namespace verada {
namespace {

class ToggleVisibilityDialogTest : public test::NodeDialogTest {
  protected:
    Ogre::SceneNode* addModel(const std::string& name) {
        Ogre::SceneNode* node = addNode(name);
        node->attachObject(state.sceneManager->createEntity(name, Ogre::SceneManager::PT_CUBE));
        return node;
    }
};

TEST_F(ToggleVisibilityDialogTest, ListsTheNodesAndTogglesTheChosenOne) {
    Ogre::SceneNode* shark = addModel("shark");
    Ogre::SceneNode* ray = addModel("ray");
    int result = run(runToggleVisibilityDialog, [&](QDialog& dialog) {
        QComboBox& nodes = combo(dialog);
        ASSERT_EQ(nodes.count(), 2);
        EXPECT_EQ(nodes.itemText(0).toStdString(), "shark");
        EXPECT_EQ(nodes.itemText(1).toStdString(), "ray");
        EXPECT_EQ(nodes.currentIndex(), 0);
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Toggle Scene Node Visibility");

        nodes.setCurrentIndex(1);
        click(dialog, "id1036");  // Apply: toggled, a frame, the dialog stays
        EXPECT_FALSE(nodeHasVisibleObject(*ray));
        EXPECT_EQ(framesRendered, 1);
        EXPECT_TRUE(dialog.isVisible());
        click(dialog, "id1");
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(nodeHasVisibleObject(*ray));  // OK toggled it back
    EXPECT_TRUE(nodeHasVisibleObject(*shark));
    EXPECT_EQ(framesRendered, 1);
}

TEST_F(ToggleVisibilityDialogTest, CancelChangesNothing) {
    Ogre::SceneNode* shark = addModel("shark");
    EXPECT_EQ(run(runToggleVisibilityDialog, [](QDialog& dialog) { click(dialog, "id2"); }), 2);
    EXPECT_TRUE(nodeHasVisibleObject(*shark));
    EXPECT_EQ(run(runToggleVisibilityDialog,
                  [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }),
              2);
    EXPECT_TRUE(nodeHasVisibleObject(*shark));
}

TEST_F(ToggleVisibilityDialogTest, EnterTogglesTheFirstNode) {
    Ogre::SceneNode* shark = addModel("shark");
    state.selectedNodeName = "shark";
    EXPECT_EQ(run(runToggleVisibilityDialog,
                  [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); }),
              1);
    EXPECT_FALSE(nodeHasVisibleObject(*shark));
    EXPECT_EQ(state.selectedNodeName, "");
}

TEST_F(ToggleVisibilityDialogTest, EmptySceneOffersNothing) {
    EXPECT_EQ(run(runToggleVisibilityDialog,
                  [](QDialog& dialog) {
                      EXPECT_EQ(combo(dialog).count(), 0);
                      click(dialog, "id1");
                  }),
              1);
}

}  // namespace
}  // namespace verada
