#include "ui/dialogs/assign_materials_dialog.h"

#include <OgreLight.h>
#include <OgreMaterialManager.h>
#include <OgreSubEntity.h>

#include "engine/materials/material_edits.h"
#include "tests/support/submesh_model.h"
#include "tests/ui/dialogs/material_dialog_fixture.h"

namespace verada {
namespace {

using namespace test;

class AssignMaterialsTest : public test::MaterialDialogTest {
  protected:
    std::unique_ptr<AssignMaterialsDialog> open() {
        auto dialog = std::make_unique<AssignMaterialsDialog>(nullptr, state);
        dialog->show();
        return dialog;
    }
    Ogre::Entity* addModel(const std::string& node, const std::string& entity, int submeshes,
                           const std::map<int, std::string>& names = {}) {
        return test::addSubmeshModel(*state.sceneManager, node, entity, submeshes, names);
    }
    // The four lists' selections, "-" for none.
    static std::string chosen(QWidget& dialog) {
        std::string line;
        for (int id = 1046; id <= 1049; ++id) {
            QComboBox& l = list(dialog, id);
            line += (id > 1046 ? " | " : "") +
                    (l.currentIndex() < 0 ? std::string("-") : l.currentText().toStdString());
        }
        return line;
    }
    std::string materialOf(const std::string& entity, unsigned submesh) {
        return state.sceneManager->getEntity(entity)->getSubEntity(submesh)->getMaterialName();
    }
};

TEST_F(AssignMaterialsTest, GroupsShowByTheirLabelsAndNodesWithoutEntitiesStop) {
    addModel("hull", "hull", 200, {{1, "deck"}});
    state.sceneManager->getRootSceneNode()->createChildSceneNode("empty");
    state.sceneManager->getRootSceneNode()->createChildSceneNode("lamp")->attachObject(
        state.sceneManager->createLight("lamp"));
    auto dialog = open();
    EXPECT_EQ(entries(list(*dialog, 1046)), std::vector<std::string>({"hull", "empty", "lamp"}));
    EXPECT_EQ(chosen(*dialog), "hull | hull | GroupIndex00 | BaseWhite");
    QComboBox& groups = list(*dialog, 1048);
    ASSERT_EQ(groups.count(), 128);
    const std::pair<int, const char*> labels[] = {
        {1, "deck"}, {3, "GroupIndex03"}, {12, "GroupIndex12"}, {123, "GroupIndex123"}};
    for (const auto& [index, label] : labels) {
        EXPECT_EQ(groups.itemText(index), label);
    }

    choose(list(*dialog, 1046), 1);
    EXPECT_EQ(chosen(*dialog), "empty | - | - | -");
    EXPECT_EQ(list(*dialog, 1047).count() + groups.count() + list(*dialog, 1049).count(), 0);
    choose(list(*dialog, 1046), 2);
    EXPECT_EQ(chosen(*dialog), "lamp | lamp | - | -");
    EXPECT_EQ(groups.count() + list(*dialog, 1049).count(), 0);
}

TEST_F(AssignMaterialsTest, TheMaterialListOpensOnTheSubmeshsOwnMaterial) {
    struct Case {
        std::vector<std::string> listed;
        std::string used;  // made, given to the submesh, then deleted when not listed
        const char* selected;
    };
    const Case cases[] = {
        {{"Rock", "rockface"}, "rockface", "rockface"}, {{"Rock", "rockface"}, "ROCK", "Rock"},
        {{"rockface", "Rock"}, "Rock", "Rock"},  // the exact name before the first prefix
        {{"rockface", "Rock"}, "ROCK", "rockface"},     {{"Rock"}, "Sand", "-"},
    };
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    for (const Case& c : cases) {
        for (const std::string& name : c.listed) {
            materials.create(name, "MTL");
        }
        bool listed = materials.resourceExists(c.used, Ogre::RGN_AUTODETECT);
        if (!listed) {
            materials.create(c.used, "MTL");
        }
        addModel("rock", "rock", 1)->setMaterialName(c.used);
        if (!listed) {
            ASSERT_TRUE(deleteMaterial(c.used));  // the model keeps it
        }
        auto dialog = open();
        EXPECT_EQ(chosen(*dialog), "rock | rock | GroupIndex00 | " + std::string(c.selected))
            << c.used;
        state.sceneManager->clearScene();
        Ogre::MeshManager::getSingleton().removeAll();
        for (const std::string& name : c.listed) {
            materials.remove(name, "MTL");
        }
    }
}

TEST_F(AssignMaterialsTest, AnotherNodeKeepsTheMeshAndGroupPositionsWhereItHasThem) {
    addModel("A", "a0", 3);
    addModel("A", "a1", 8);
    addModel("B", "b0", 3);
    addModel("B", "b1", 6);
    addModel("C", "c0", 3);
    auto dialog = open();
    choose(list(*dialog, 1047), 1);
    choose(list(*dialog, 1048), 5);
    EXPECT_EQ(chosen(*dialog), "A | a1 | GroupIndex05 | BaseWhite");
    choose(list(*dialog, 1046), 1);
    EXPECT_EQ(chosen(*dialog), "B | b1 | GroupIndex05 | BaseWhite");
    choose(list(*dialog, 1046), 2);
    EXPECT_EQ(chosen(*dialog), "C | c0 | GroupIndex02 | BaseWhite");
    choose(list(*dialog, 1046), 0);
    EXPECT_EQ(chosen(*dialog), "A | a0 | GroupIndex02 | BaseWhite");

    dialog->reject();
    EXPECT_EQ(chosen(*open()), "A | a0 | GroupIndex00 | BaseWhite");
}

TEST_F(AssignMaterialsTest, ApplyAndOkAssignCancelUndoesNothing) {
    Ogre::MaterialManager::getSingleton().create("Gold", "MTL");
    addModel("ship", "ship", 3);
    auto dialog = open();
    choose(list(*dialog, 1048), 1);
    choose(list(*dialog, 1049), "Gold");
    for (int apply = 1; apply <= 2; ++apply) {
        click(*dialog, 1036);
        EXPECT_EQ(materialOf("ship", 1), "Gold");
        EXPECT_EQ(framesRendered, apply);
    }
    EXPECT_EQ(chosen(*dialog), "ship | ship | GroupIndex01 | Gold");
    click(*dialog, kMessageCancel);
    EXPECT_EQ(dialog->result(), kMessageCancel);
    EXPECT_EQ(materialOf("ship", 1), "Gold");

    dialog = open();
    choose(list(*dialog, 1048), 2);
    EXPECT_EQ(chosen(*dialog), "ship | ship | GroupIndex02 | BaseWhite");
    choose(list(*dialog, 1049), "Gold");
    click(*dialog, kMessageOk);
    EXPECT_EQ(dialog->result(), kMessageOk);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(materialOf("ship", 2), "Gold");
    EXPECT_EQ(materialOf("ship", 0), "BaseWhite");
    EXPECT_EQ(framesRendered, 2);
}

}  // namespace
}  // namespace verada
