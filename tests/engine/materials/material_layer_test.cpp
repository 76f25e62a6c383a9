#include "engine/materials/material_layer.h"

#include <OgreMaterial.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreTechnique.h>
#include <OgreTextureUnitState.h>
#include <gtest/gtest.h>

#include "tests/support/headless_ogre.h"
#include "tests/support/layer_text.h"

namespace verada {
namespace {

class MaterialLayerTest : public ::testing::Test {
  protected:
    // A material of that many passes in the group "MTL", as scripts make them.
    Ogre::Technique& material(const std::string& name, int passes) {
        Ogre::MaterialPtr made = Ogre::MaterialManager::getSingleton().create(name, "MTL");
        for (int i = 1; i < passes; ++i) {
            made->getTechnique(0)->createPass();
        }
        return *made->getTechnique(0);
    }

    test::HeadlessOgre ogre;
};

TEST_F(MaterialLayerTest, ReadingCopiesWhatIsSet) {
    Ogre::Technique& technique = material("Rock", 2);
    Ogre::Pass& pass = *technique.getPass(1);
    pass.setShininess(12.5f);
    pass.setAmbient(0.5f, 0.25f, 0.0f);
    pass.setSpecular(0.0f, 0.0f, 0.0f, 0.5f);  // black: not set, whatever its alpha
    pass.setDiffuse(0.0f, 0.0f, 0.75f, 0.125f);
    pass.createTextureUnitState("rock.png");
    pass.setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
    technique.getPass(0)->setAmbient(0.0f, 0.0f, 0.0f);
    technique.getPass(0)->createTextureUnitState();  // a unit without texture

    MaterialLayerSettings settings;
    settings.materialName = "Rock";
    settings.specular = {9.0f, 9.0f, 9.0f, 9.0f};
    const std::pair<int, std::string> cases[] = {
        // Past the last pass: the last one; the record keeps what is not set.
        {7,
         "2/1 shininess 1 12.5 ambient 1 0.5 0.25 0 specular 0 9 9 9 9 diffuse 1 0.125 0 0 "
         "0.75 self 0 0 0 0 texture 1 'rock.png' alpha 1"},
        // Before the first: the first, whose unit has no texture and which replaces.
        {-3,
         "2/0 shininess 0 0 ambient 0 0.5 0.25 0 specular 0 9 9 9 9 diffuse 1 1 1 1 1 self 0 "
         "0 0 0 texture 0 '' alpha 0"},
    };
    for (const auto& [layer, text] : cases) {
        ASSERT_TRUE(readMaterialLayer(settings, layer));
        EXPECT_EQ(test::layerText(settings), text) << layer;
    }
    MaterialLayerSettings missing;
    missing.materialName = "Nowhere";
    EXPECT_FALSE(readMaterialLayer(missing, 0));
    EXPECT_EQ(test::layerText(missing), test::layerText(MaterialLayerSettings()));
}

TEST_F(MaterialLayerTest, ApplyingWritesBlackForWhatIsNotSet) {
    for (bool hasDiffuse : {true, false}) {
        Ogre::Technique& technique = material("Moss", 2);
        MaterialLayerSettings settings;
        settings.materialName = "Moss";
        settings.layerCount = 5;  // more layers than the material has: Ogre would abort
        settings.hasDiffuse = hasDiffuse;
        settings.diffuse = {0.25f, 0.1f, 0.2f, 0.3f};
        settings.hasSelfIllumination = true;
        settings.selfIllumination = {0.5f, 0.6f, 0.7f};
        settings.hasTexture = true;
        settings.textureName = "moss.png";
        ASSERT_TRUE(applyMaterialLayer(settings, 4));
        EXPECT_EQ(settings.currentLayer, 1);
        const Ogre::Pass& pass = *technique.getPass(1);
        EXPECT_EQ(pass.getShininess(), 0.0f);
        EXPECT_EQ(pass.getAmbient(), Ogre::ColourValue(0.0f, 0.0f, 0.0f, 1.0f));
        EXPECT_EQ(pass.getSpecular(), Ogre::ColourValue(0.0f, 0.0f, 0.0f, 0.0f));
        EXPECT_EQ(pass.getDiffuse(), hasDiffuse ? Ogre::ColourValue(0.1f, 0.2f, 0.3f, 0.25f)
                                                : Ogre::ColourValue(0.0f, 0.0f, 0.0f, 0.0f));
        // Its alpha is the diffuse alpha just written.
        EXPECT_EQ(pass.getSelfIllumination().a, hasDiffuse ? 0.25f : 0.0f);
        EXPECT_EQ(pass.getTextureUnitState(0)->getTextureName(), "moss.png");
        EXPECT_EQ(pass.getSourceBlendFactor(), Ogre::SBF_ONE);  // replaces

        settings.alphaLayer = true;
        settings.textureName = "moss2.png";
        ASSERT_TRUE(applyMaterialLayer(settings, 1));
        EXPECT_EQ(pass.getNumTextureUnitStates(), 1u);
        EXPECT_EQ(pass.getTextureUnitState(0)->getTextureName(), "moss2.png");
        EXPECT_EQ(pass.getSourceBlendFactor(), Ogre::SBF_SOURCE_ALPHA);
        Ogre::MaterialManager::getSingleton().remove("Moss", "MTL");
    }
}

TEST_F(MaterialLayerTest, LayersAreAddedAndTheLastRemoved) {
    Ogre::Technique& technique = material("Stack", 1);
    MaterialLayerSettings settings;
    settings.materialName = "Stack";
    ASSERT_TRUE(addMaterialLayer(settings) && addMaterialLayer(settings));
    EXPECT_EQ(settings.layerCount, 3);
    technique.getPass(2)->setShininess(3.0f);
    // Editing layer 0, the last pass goes; editing the last, the one before becomes current.
    const int cases[][3] = {{0, 2, 0}, {1, 1, 0}, {0, 1, 0}};  // current, layers, current after
    for (const auto& c : cases) {
        settings.currentLayer = c[0];
        EXPECT_TRUE(removeLastMaterialLayer(settings));
        EXPECT_EQ(technique.getNumPasses(), c[1]);
        EXPECT_EQ(settings.layerCount, c[1]);
        EXPECT_EQ(settings.currentLayer, c[2]);
    }
    // Without material, or without technique, nothing is done.
    for (const char* name : {"Nowhere", "Stack"}) {
        Ogre::MaterialManager::getSingleton().getByName("Stack")->removeAllTechniques();
        settings.materialName = name;
        EXPECT_FALSE(readMaterialLayer(settings, 0) || applyMaterialLayer(settings, 0) ||
                     addMaterialLayer(settings) || removeLastMaterialLayer(settings));
    }
}

}  // namespace
}  // namespace verada
