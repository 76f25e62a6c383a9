#include "ui/dialogs/attach_mesh_dialog.h"

#include <QRadioButton>

#include "tests/ui/dialogs/node_dialog_fixture.h"

namespace verada {
namespace {

using AttachMeshDialogTest = test::NodeDialogTest;

QRadioButton& radio(QDialog& dialog, const char* id) {
    auto* button = dialog.findChild<QRadioButton*>(id);
    EXPECT_NE(button, nullptr) << id;
    return *button;
}

TEST_F(AttachMeshDialogTest, StartsWithTheOgreMeshLoaderAndTheFirstNode) {
    addNode("groundplane");
    addNode("shark");
    int result = run(runAttachMeshDialog, [&](QDialog& dialog) {
        EXPECT_TRUE(radio(dialog, "id1007").isChecked());
        EXPECT_EQ(radio(dialog, "id1007").text().toStdString(), "Load from Ogre .mesh");
        EXPECT_EQ(radio(dialog, "id1008").text().toStdString(), "Load from Spore .gmdl");
        EXPECT_EQ(radio(dialog, "id1009").text().toStdString(), "Load from Sims 2 .gmdc");
        EXPECT_EQ(radio(dialog, "id1010").text().toStdString(), "Load from Spore .gmsh");
        for (const char* id : {"id1008", "id1009", "id1010"}) {
            EXPECT_FALSE(radio(dialog, id).isChecked()) << id;
        }
        EXPECT_EQ(combo(dialog).count(), 2);
        click(dialog, "id1");
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(state.attachSource, kAttachOgreMesh);
    EXPECT_EQ(state.attachTargetNode, "groundplane");
}

TEST_F(AttachMeshDialogTest, EachLoaderChoiceGivesItsSource) {
    addNode("shark");
    addNode("ray");
    const std::pair<const char*, int> cases[] = {{"id1007", kAttachOgreMesh},
                                                 {"id1008", kAttachGmdl},
                                                 {"id1009", kAttachGmdc},
                                                 {"id1010", kAttachGmsh}};
    for (const auto& [id, source] : cases) {
        state.attachSource = 0;
        int result = run(runAttachMeshDialog, [&, id = id](QDialog& dialog) {
            QTest::mouseClick(&radio(dialog, id), Qt::LeftButton);
            combo(dialog).setCurrentIndex(1);
            click(dialog, "id1");
        });
        EXPECT_EQ(result, 1);
        EXPECT_EQ(state.attachSource, source) << id;
        EXPECT_EQ(state.attachTargetNode, "ray");
    }
}

TEST_F(AttachMeshDialogTest, CancelLeavesNoTarget) {
    addNode("shark");
    state.attachTargetNode = "earlier";
    EXPECT_EQ(run(runAttachMeshDialog, [](QDialog& dialog) { click(dialog, "id2"); }), 2);
    EXPECT_EQ(state.attachTargetNode, "");
}

TEST_F(AttachMeshDialogTest, NoNodesLeaveNoTarget) {
    EXPECT_EQ(run(runAttachMeshDialog, [](QDialog& dialog) { click(dialog, "id1"); }), 1);
    EXPECT_EQ(state.attachTargetNode, "");
}

}  // namespace
}  // namespace verada
