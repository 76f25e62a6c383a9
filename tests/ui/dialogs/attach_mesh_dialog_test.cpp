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
    std::optional<AttachChoice> result = run(runAttachMeshDialog, [&](QDialog& dialog) {
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
    ASSERT_TRUE(result);
    EXPECT_EQ(result->source, AttachSource::OgreMesh);
    EXPECT_EQ(result->targetNode, "groundplane");
}

TEST_F(AttachMeshDialogTest, EachLoaderChoiceGivesItsSource) {
    addNode("shark");
    addNode("ray");
    const std::pair<const char*, AttachSource> cases[] = {{"id1007", AttachSource::OgreMesh},
                                                          {"id1008", AttachSource::Gmdl},
                                                          {"id1009", AttachSource::Gmdc},
                                                          {"id1010", AttachSource::Gmsh}};
    for (const auto& [id, source] : cases) {
        std::optional<AttachChoice> result =
            run(runAttachMeshDialog, [&, id = id](QDialog& dialog) {
                QTest::mouseClick(&radio(dialog, id), Qt::LeftButton);
                combo(dialog).setCurrentIndex(1);
                click(dialog, "id1");
            });
        ASSERT_TRUE(result) << id;
        EXPECT_EQ(result->source, source) << id;
        EXPECT_EQ(result->targetNode, "ray");
    }
}

TEST_F(AttachMeshDialogTest, CancelLeavesNoTarget) {
    addNode("shark");
    EXPECT_FALSE(run(runAttachMeshDialog, [](QDialog& dialog) { click(dialog, "id2"); }));
}

TEST_F(AttachMeshDialogTest, NoNodesLeaveNoTarget) {
    std::optional<AttachChoice> result =
        run(runAttachMeshDialog, [](QDialog& dialog) { click(dialog, "id1"); });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->targetNode, "");
}

}  // namespace
}  // namespace verada
