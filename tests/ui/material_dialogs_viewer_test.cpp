#include <filesystem>

#include <OgreEntity.h>
#include <OgreMaterial.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreSceneManager.h>
#include <OgreSubEntity.h>
#include <OgreTechnique.h>
#include <OgreTextureManager.h>
#include <OgreTextureUnitState.h>
#include <gtest/gtest.h>
#include <QCheckBox>

#include "tests/support/dialog_driver.h"
#include "tests/support/viewer_fixture.h"
#include "ui/main_window.h"
#include "ui/menu_table.h"

namespace verada {
namespace {

using namespace test;

using MaterialDialogsInTheViewer = ViewerFixture;

std::string sampleTexture(const std::string& name) {
    return samplePath("ogre-mesh/textures/" + name).string();
}

Ogre::TexturePtr textureNamed(const std::string& name) {
    return Ogre::TextureManager::getSingleton().getByName(name, Ogre::RGN_AUTODETECT);
}

// Texture files load only where there is a render system.
TEST_F(MaterialDialogsInTheViewer, LoadNewAndDeleteTextures) {
    startSession();
    MainWindow& window = session_->window();
    Ogre::Pass& decal =
        *Ogre::MaterialManager::getSingleton().create("Decal", "MTL")->getTechnique(0)->getPass(0);
    bool scripted = false;
    onNextModal([&](QDialog& editor) {
        scripted = true;
        EXPECT_EQ(editor.parentWidget(), &window);
        choose(list(editor, 1000), "Decal");
        QComboBox& textures = list(editor, 1006);
        for (const char* file : {"RustyBarrel.png", "dirt01.jpg"}) {
            platform_.fileAnswers.push_back(sampleTexture(file));
            click(editor, 1039);
            EXPECT_EQ(textures.currentText(), file);
            ASSERT_TRUE(textureNamed(file));
            EXPECT_TRUE(textureNamed(file)->isLoaded());
        }
        EXPECT_EQ(textureNamed("RustyBarrel.png")->getWidth(), 256u);
        const FileDialogRequest& request = platform_.fileRequests.back();
        EXPECT_FALSE(request.save);
        EXPECT_EQ(request.defaultExtension, "png");
        ASSERT_EQ(request.filters.size(), 1u);
        EXPECT_EQ(request.filters[0].text, "Texture files (*.png;*.jpg;*.tga;*.dds)");

        // Already loaded: nothing is read and the selection stays.
        choose(textures, "RustyBarrel.png");
        platform_.fileAnswers.push_back(sampleTexture("dirt01.jpg"));
        click(editor, 1039);
        EXPECT_EQ(textures.currentText(), "RustyBarrel.png");
        EXPECT_EQ(state().materialEditor.lastLoadedTextureName, "dirt01.jpg");
        EXPECT_EQ(std::filesystem::current_path(), dir_.path());
        EXPECT_TRUE(platform_.messages.empty());

        click(editor, 1036);
        ASSERT_EQ(decal.getNumTextureUnitStates(), 1u);
        EXPECT_EQ(decal.getTextureUnitState(0)->getTextureName(), "RustyBarrel.png");

        click(editor, 1040);
        EXPECT_EQ(decal.getNumTextureUnitStates(), 0u);
        EXPECT_FALSE(textureNamed("RustyBarrel.png"));
        EXPECT_EQ(textures.findText("RustyBarrel.png"), -1);
        EXPECT_EQ(textures.currentIndex(), -1);
        click(editor, kMessageOk);
    });
    window.runCommand(kCmdEditMaterials);
    EXPECT_TRUE(scripted);
}

// A material made, coloured and assigned through the two dialogs shows on the model.
TEST_F(MaterialDialogsInTheViewer, PaintCloneTurnsTheModelRed) {
    startSession("[SceneParms]\r\nCameraDist=10\r\nLightDiffuseColor=1 1 1\r\n");
    MainWindow& window = session_->window();
    platform_.fileAnswers.push_back(samplePath("ogre-mesh/v1.100/Barrel.mesh").string());
    window.runCommand(kCmdAddOgre);
    const std::pair<int, int> onBarrel = project(Ogre::Vector3(0, 1, 2));
    Ogre::ColourValue plain = pixelAt(onBarrel);

    QDialog* editorShown = nullptr;
    onNextModal([&](QDialog& editor) {
        editorShown = &editor;
        EXPECT_EQ(editor.parentWidget(), &window);
        onNextModal([](QDialog& add) {
            type(add, 1042, "Paint");
            choose(list(add, 1043), "BaseWhite");
            click(add, kMessageOk);
        });
        click(editor, 1001);
        EXPECT_EQ(list(editor, 1000).currentText(), "Paint");
        control<QCheckBox>(editor, 1019).setChecked(true);
        platform_.colorAnswers.push_back({0x000000FF, std::nullopt});
        click(editor, 1050);
        click(editor, kMessageOk);
    });
    window.runCommand(kCmdEditMaterials);
    ASSERT_EQ(platform_.colorRequests.size(), 1u);
    EXPECT_EQ(platform_.colorRequests[0].owner, editorShown);

    onNextModal([&](QDialog& assign) {
        EXPECT_EQ(assign.parentWidget(), &window);
        choose(list(assign, 1046), "Barrel");
        choose(list(assign, 1047), "Barrel");
        choose(list(assign, 1048), 0);
        choose(list(assign, 1049), "Paint");
        click(assign, kMessageOk);
    });
    window.runCommand(kCmdAssignMaterials);
    EXPECT_EQ(state().sceneManager->getEntity("Barrel")->getSubEntity(0)->getMaterialName(),
              "Paint");

    Ogre::ColourValue painted = pixelAt(onBarrel);
    EXPECT_GT(plain.g, 0.5f * plain.r) << "the default material is not already red";
    EXPECT_GT(painted.r, 0.2f);
    EXPECT_GT(painted.r, 3 * painted.g);
    EXPECT_GT(painted.r, 3 * painted.b);
    EXPECT_GT(distance(painted, plain), 0.2f);
    EXPECT_TRUE(platform_.messages.empty());
}

}  // namespace
}  // namespace verada
