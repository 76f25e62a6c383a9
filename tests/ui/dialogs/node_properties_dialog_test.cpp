#include "ui/dialogs/node_properties_dialog.h"

#include <QLabel>
#include <QLineEdit>

#include "tests/ui/dialogs/node_dialog_fixture.h"

namespace verada {
namespace {

using NodePropertiesDialogTest = test::NodeDialogTest;

QLineEdit& field(QDialog& dialog, const char* id) {
    auto* edit = dialog.findChild<QLineEdit*>(id);
    EXPECT_NE(edit, nullptr) << id;
    return *edit;
}

std::string label(QDialog& dialog) {
    auto* node = dialog.findChild<QLabel*>("id1053");
    EXPECT_NE(node, nullptr);
    return node->text().toStdString();
}

TEST_F(NodePropertiesDialogTest, ShowsAndAppliesTheSelectedNodesScale) {
    Ogre::SceneNode* shark = addNode("shark");
    shark->setScale(1, 2, 3);
    state.selectedNodeName = "shark";
    std::optional<NodeScaleRecord> result = run(runNodePropertiesDialog, [&](QDialog& dialog) {
        EXPECT_EQ(label(dialog), "Node: shark");
        EXPECT_EQ(field(dialog, "id1052").text().toStdString(), "1.000000");
        EXPECT_EQ(field(dialog, "id1004").text().toStdString(), "2.000000");
        EXPECT_EQ(field(dialog, "id1005").text().toStdString(), "3.000000");

        field(dialog, "id1052").setText("0.5");
        field(dialog, "id1004").setText("abc");
        field(dialog, "id1005").setText(" 4xyz");
        click(dialog, "id1036");
        EXPECT_EQ(shark->getScale(), Ogre::Vector3(0.5f, 2, 4));
        EXPECT_EQ(framesRendered, 1);

        // A pick while the dialog is open does not change the node it scales.
        state.selectedNodeName = "";
        field(dialog, "id1052").setText("7");
        click(dialog, "id1");
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->nodeName, "shark");
    EXPECT_EQ(Ogre::Vector3(result->x, result->y, result->z), Ogre::Vector3(7, 2, 4));
    EXPECT_EQ(shark->getScale(), Ogre::Vector3(7, 2, 4));
    EXPECT_EQ(framesRendered, 1);
}

TEST_F(NodePropertiesDialogTest, WithoutSelectionShowsZeroesAndScalesNothing) {
    Ogre::SceneNode* shark = addNode("shark");
    std::optional<NodeScaleRecord> result = run(runNodePropertiesDialog, [&](QDialog& dialog) {
        EXPECT_EQ(label(dialog), "No SceneNode Selected");
        EXPECT_EQ(field(dialog, "id1052").text().toStdString(), "0.000000");
        field(dialog, "id1052").setText("5");
        click(dialog, "id1");
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->nodeName, "");
    EXPECT_EQ(shark->getScale(), Ogre::Vector3(1, 1, 1));
}

TEST_F(NodePropertiesDialogTest, CancelKeepsTheScale) {
    Ogre::SceneNode* shark = addNode("shark");
    state.selectedNodeName = "shark";
    std::optional<NodeScaleRecord> result = run(runNodePropertiesDialog, [&](QDialog& dialog) {
        field(dialog, "id1052").setText("9");
        click(dialog, "id2");
    });
    EXPECT_FALSE(result);
    EXPECT_EQ(shark->getScale(), Ogre::Vector3(1, 1, 1));
}

TEST(ScaleField, ParsesLikeScanf) {
    const std::tuple<const char*, float, float> cases[] = {
        {"2.5", 1, 2.5f}, {"  -3", 1, -3}, {"4xyz", 1, 4},  {"abc", 1.5f, 1.5f},
        {"", 6, 6},       {"1e2", 0, 100}, {".5", 0, 0.5f}, {"x1", 2, 2}};
    for (const auto& [text, current, expected] : cases) {
        EXPECT_EQ(parseScaleField(text, current), expected) << text;
    }
}

}  // namespace
}  // namespace verada
