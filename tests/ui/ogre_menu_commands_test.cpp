#include <filesystem>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <OgreEntity.h>
#include <OgreMaterial.h>
#include <OgrePass.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSubEntity.h>
#include <OgreTechnique.h>
#include <OgreTexture.h>
#include <OgreTextureUnitState.h>
#include <gtest/gtest.h>

#include "engine/scene/scene_nodes.h"
#include "tests/support/viewer_fixture.h"
#include "ui/main_window.h"
#include "ui/menu_table.h"

namespace verada {
namespace {

using OgreMenuCommands = test::ViewerFixture;

// The three commands in the real viewer, where textures load.
TEST_F(OgreMenuCommands, ScriptMeshAndExistingNodeThroughTheMenu) {
    startSession("[SceneParms]\r\nCameraDist=10\r\n");
    MainWindow& window = session_->window();
    std::filesystem::create_directory(dir_ / "media");
    for (const char* file : {"materials/Examples.material", "textures/RustyBarrel.png"}) {
        std::filesystem::path from = test::samplePath(std::string("ogre-mesh/") + file);
        std::filesystem::copy_file(from, dir_ / "media" / from.filename());
    }
    const Ogre::Vector3 barrelFront(0, 1, 2);
    Ogre::ColourValue empty = pixelAt(project(barrelFront));

    platform_.fileAnswers.push_back((dir_ / "media" / "Examples.material").string());
    window.runCommand(kCmdLoadMaterial);
    ASSERT_EQ(platform_.messages.size(), 1u);
    const test::FakePlatform::Message& warnings = platform_.messages[0];
    EXPECT_FALSE(warnings.hasOwner);
    EXPECT_EQ(warnings.icon, MessageIcon::Warning);
    EXPECT_NE(warnings.text.find("\r\nWARN: Texture \"r2skin.jpg\" of material \"Examples/Robot\" "
                                 "could not be loaded."),
              std::string::npos);
    EXPECT_EQ(warnings.text.find("RustyBarrel.png"), std::string::npos);

    platform_.fileAnswers.push_back(test::samplePath("ogre-mesh/v1.100/Barrel.mesh").string());
    window.runCommand(kCmdAddOgre);
    ASSERT_NE(rootChildNamed(state(), "Barrel"), nullptr);
    Ogre::SubEntity& barrel = *state().sceneManager->getEntity("Barrel")->getSubEntity(0);
    EXPECT_EQ(barrel.getMaterialName(), "RustyBarrel");
    const Ogre::TexturePtr& texture =
        barrel.getMaterial()->getTechnique(0)->getPass(0)->getTextureUnitState(0)->_getTexturePtr();
    ASSERT_TRUE(texture);
    EXPECT_TRUE(texture->isLoaded());
    EXPECT_EQ(texture->getWidth(), 256u);
    EXPECT_GT(distance(pixelAt(project(barrelFront)), empty), 0.1f);

    // "Add To Existing Node" starts with the Ogre loader and the first node, the floor.
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->findChild<QPushButton*>("id1"), Qt::LeftButton);
    });
    platform_.fileAnswers.push_back(test::samplePath("ogre-mesh/v1.100/cube.mesh").string());
    window.runCommand(kCmdAddToExisting);
    Ogre::SceneNode* floor = rootChildNamed(state(), "groundplane");
    ASSERT_NE(floor, nullptr);
    ASSERT_EQ(floor->numAttachedObjects(), 2u);
    EXPECT_EQ(floor->getAttachedObject(1)->getName(), "cube");
    EXPECT_EQ(platform_.messages.size(), 1u);
    EXPECT_TRUE(platform_.fileAnswers.empty());
}

}  // namespace
}  // namespace verada
