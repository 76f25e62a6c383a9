#include "engine/materials/material_layer.h"

#include <OgreMaterial.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreTechnique.h>
#include <OgreTextureUnitState.h>
#include <gtest/gtest.h>

#include "tests/support/headless_ogre.h"

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
    pass.setAmbient(Ogre::ColourValue(0.1f, 0.2f, 0.3f, 0.9f));
    pass.setSpecular(Ogre::ColourValue(0.0f, 0.0f, 0.0f, 0.5f));  // black: not set
    pass.setDiffuse(Ogre::ColourValue(0.4f, 0.5f, 0.6f, 0.7f));
    pass.setSelfIllumination(Ogre::ColourValue(0.0f, 0.0f, 0.25f));
    pass.createTextureUnitState("rock.png");
    pass.setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);

    MaterialLayerSettings settings;
    settings.materialName = "Rock";
    settings.specular = {9.0f, 9.0f, 9.0f, 9.0f};
    // Layer 7 is past the last pass; -3 before the first.
    ASSERT_TRUE(readMaterialLayer(settings, 7));
    EXPECT_EQ(settings.layerCount, 2);
    EXPECT_EQ(settings.currentLayer, 1);
    EXPECT_TRUE(settings.hasShininess);
    EXPECT_EQ(settings.shininess, 12.5f);
    EXPECT_TRUE(settings.hasAmbient);
    EXPECT_EQ(settings.ambient, (std::array<float, 3>{0.1f, 0.2f, 0.3f}));
    EXPECT_FALSE(settings.hasSpecular);
    EXPECT_EQ(settings.specular, (std::array<float, 4>{9.0f, 9.0f, 9.0f, 9.0f}));
    EXPECT_TRUE(settings.hasDiffuse);
    EXPECT_EQ(settings.diffuse, (std::array<float, 4>{0.7f, 0.4f, 0.5f, 0.6f}));
    EXPECT_TRUE(settings.hasSelfIllumination);
    EXPECT_EQ(settings.selfIllumination, (std::array<float, 3>{0.0f, 0.0f, 0.25f}));
    EXPECT_TRUE(settings.hasTexture);
    EXPECT_EQ(settings.textureName, "rock.png");
    EXPECT_TRUE(settings.alphaLayer);

    // Layer 0 has neither colours nor a texture unit: the name and blending stay as they were.
    ASSERT_TRUE(readMaterialLayer(settings, -3));
    EXPECT_EQ(settings.currentLayer, 0);
    EXPECT_FALSE(settings.hasShininess || settings.hasSpecular || settings.hasTexture);
    EXPECT_TRUE(settings.hasAmbient && settings.hasDiffuse);  // Ogre's default grey and white
    EXPECT_EQ(settings.textureName, "rock.png");
    EXPECT_TRUE(settings.alphaLayer);

    technique.getPass(0)->createTextureUnitState();  // a unit without texture
    ASSERT_TRUE(readMaterialLayer(settings, 0));
    EXPECT_FALSE(settings.hasTexture);
    EXPECT_EQ(settings.textureName, "");

    MaterialLayerSettings missing;
    missing.materialName = "Nowhere";
    missing.layerCount = 42;
    EXPECT_FALSE(readMaterialLayer(missing, 0));
    EXPECT_EQ(missing.layerCount, 42);
}

TEST_F(MaterialLayerTest, ApplyingWritesBlackForWhatIsNotSet) {
    struct Case {
        bool hasDiffuse;
        float diffuseAlpha;
        float selfAlpha;
    };
    for (const Case& c : {Case{true, 0.25f, 0.25f}, Case{false, 0.25f, 0.0f}}) {
        Ogre::Technique& technique = material("Moss", 2);
        MaterialLayerSettings settings;
        settings.materialName = "Moss";
        settings.layerCount = 5;  // more layers than the material has
        settings.hasDiffuse = c.hasDiffuse;
        settings.diffuse = {c.diffuseAlpha, 0.1f, 0.2f, 0.3f};
        settings.hasSelfIllumination = true;
        settings.selfIllumination = {0.5f, 0.6f, 0.7f};
        settings.hasTexture = true;
        settings.textureName = "moss.png";
        settings.alphaLayer = false;
        ASSERT_TRUE(applyMaterialLayer(settings, 4));
        EXPECT_EQ(settings.currentLayer, 1);

        const Ogre::Pass& pass = *technique.getPass(1);
        EXPECT_EQ(pass.getShininess(), 0.0f);
        EXPECT_EQ(pass.getAmbient(), Ogre::ColourValue(0.0f, 0.0f, 0.0f, 1.0f));
        EXPECT_EQ(pass.getSpecular(), Ogre::ColourValue(0.0f, 0.0f, 0.0f, 0.0f));
        EXPECT_EQ(pass.getDiffuse(), c.hasDiffuse ? Ogre::ColourValue(0.1f, 0.2f, 0.3f, 0.25f)
                                                  : Ogre::ColourValue(0.0f, 0.0f, 0.0f, 0.0f));
        EXPECT_EQ(pass.getSelfIllumination(), Ogre::ColourValue(0.5f, 0.6f, 0.7f, c.selfAlpha));
        ASSERT_EQ(pass.getNumTextureUnitStates(), 1u);
        EXPECT_EQ(pass.getTextureUnitState(0)->getTextureName(), "moss.png");
        EXPECT_EQ(pass.getSourceBlendFactor(), Ogre::SBF_ONE);
        EXPECT_EQ(pass.getDestBlendFactor(), Ogre::SBF_ZERO);

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
    technique.getPass(0)->setShininess(3.0f);
    MaterialLayerSettings settings;
    settings.materialName = "Stack";
    ASSERT_TRUE(addMaterialLayer(settings));
    ASSERT_TRUE(addMaterialLayer(settings));
    EXPECT_EQ(settings.layerCount, 3);
    EXPECT_EQ(settings.currentLayer, 0);

    struct Step {
        int current;
        int layersAfter;
        int currentAfter;
    };
    for (const Step& step : {Step{0, 2, 0}, Step{1, 1, 0}, Step{0, 1, 0}}) {
        settings.currentLayer = step.current;
        EXPECT_TRUE(removeLastMaterialLayer(settings));
        EXPECT_EQ(technique.getNumPasses(), step.layersAfter);
        EXPECT_EQ(settings.layerCount, step.layersAfter);
        EXPECT_EQ(settings.currentLayer, step.currentAfter);
    }
    EXPECT_EQ(technique.getPass(0)->getShininess(), 3.0f);  // the first pass stays

    MaterialLayerSettings missing;
    missing.materialName = "Nowhere";
    EXPECT_FALSE(addMaterialLayer(missing));
    EXPECT_FALSE(removeLastMaterialLayer(missing));
    EXPECT_FALSE(applyMaterialLayer(missing, 0));
    Ogre::MaterialManager::getSingleton().getByName("Stack")->removeAllTechniques();
    settings.layerCount = 1;
    EXPECT_FALSE(readMaterialLayer(settings, 0));
    EXPECT_FALSE(applyMaterialLayer(settings, 0));
    EXPECT_FALSE(addMaterialLayer(settings));
}

}  // namespace
}  // namespace verada
