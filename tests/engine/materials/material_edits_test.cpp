#include "engine/materials/material_edits.h"

#include <signal.h>
#include <sys/resource.h>

#include <OgreMaterial.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreTechnique.h>
#include <gtest/gtest.h>

#include "engine/materials/material_layer.h"
#include "engine/materials/material_script_loader.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

bool materialLoaded(const std::string& name) {
    return Ogre::MaterialManager::getSingleton().resourceExists(name, Ogre::RGN_AUTODETECT);
}

// Every layer of the material, as the editor sees them.
std::vector<MaterialLayerSettings> layersOf(const std::string& name) {
    std::vector<MaterialLayerSettings> layers;
    MaterialLayerSettings settings;
    settings.materialName = name;
    for (int layer = 0; readMaterialLayer(settings, layer) && layer < settings.layerCount;
         ++layer) {
        layers.push_back(settings);
    }
    return layers;
}

void expectSameLayers(const std::vector<MaterialLayerSettings>& a,
                      const std::vector<MaterialLayerSettings>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].hasShininess, b[i].hasShininess) << i;
        EXPECT_EQ(a[i].shininess, b[i].shininess) << i;
        EXPECT_EQ(a[i].hasAmbient, b[i].hasAmbient) << i;
        EXPECT_EQ(a[i].ambient, b[i].ambient) << i;
        EXPECT_EQ(a[i].hasSpecular, b[i].hasSpecular) << i;
        EXPECT_EQ(a[i].specular, b[i].specular) << i;
        EXPECT_EQ(a[i].hasDiffuse, b[i].hasDiffuse) << i;
        EXPECT_EQ(a[i].diffuse, b[i].diffuse) << i;
        EXPECT_EQ(a[i].hasSelfIllumination, b[i].hasSelfIllumination) << i;
        EXPECT_EQ(a[i].selfIllumination, b[i].selfIllumination) << i;
        EXPECT_EQ(a[i].hasTexture, b[i].hasTexture) << i;
        EXPECT_EQ(a[i].textureName, b[i].textureName) << i;
        EXPECT_EQ(a[i].alphaLayer, b[i].alphaLayer) << i;
    }
}

class MaterialEditsTest : public ::testing::Test {
  protected:
    test::HeadlessOgre ogre;
    test::TempDir dir;
};

TEST_F(MaterialEditsTest, ClonesNeedAFreeNameAndAKnownSource) {
    Ogre::MaterialManager::getSingleton().create("Stone", "MTL");
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"BaseWhite", "Stone", "Material name must be unique."},
        {"Stone", "Stone", "Material name must be unique."},
        {"Gravel", "Sand", "Clone From Material name not found."},
        {"Gravel", "Stone", ""},
        {"White", "BaseWhite", ""},
    };
    for (const auto& [newName, fromName, error] : cases) {
        EXPECT_EQ(cloneMaterial(newName, fromName).error(), error) << newName;
    }
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    EXPECT_EQ(materials.getByName("Gravel", Ogre::RGN_AUTODETECT)->getGroup(), "MTL");
    EXPECT_EQ(materials.getByName("White", Ogre::RGN_AUTODETECT)->getGroup(),
              materials.getByName("BaseWhite", Ogre::RGN_AUTODETECT)->getGroup());
    EXPECT_FALSE(materialLoaded("Sand"));
}

TEST_F(MaterialEditsTest, TheEnginesOwnMaterialsAreKept) {
    Ogre::MaterialManager::getSingleton().create("Stone", "MTL");
    for (const char* name : {"DefaultSettings", "BaseWhite", "BaseWhiteNoLighting"}) {
        EXPECT_EQ(deleteMaterial(name).error(),
                  std::string("WARN: \"") + name +
                      "\" is one of the engine's own materials and cannot be deleted.");
        EXPECT_TRUE(materialLoaded(name));
    }
    EXPECT_TRUE(deleteMaterial("Stone"));
    EXPECT_FALSE(materialLoaded("Stone"));
    EXPECT_TRUE(deleteMaterial("Stone"));  // nothing left to delete is no error
}

TEST_F(MaterialEditsTest, ASavedScriptLoadsBackWithTheSameLayers) {
    Ogre::MaterialPtr stone = Ogre::MaterialManager::getSingleton().create("Stone", "MTL");
    Ogre::Pass& base = *stone->getTechnique(0)->getPass(0);
    base.setDiffuse(Ogre::ColourValue(0.5f, 0.25f, 0.125f, 1.0f));
    base.setShininess(20.0f);
    base.createTextureUnitState("stone.png");
    Ogre::Pass& top = *stone->getTechnique(0)->createPass();
    top.setSpecular(Ogre::ColourValue(1.0f, 1.0f, 1.0f, 0.5f));
    top.setSelfIllumination(Ogre::ColourValue(0.0f, 0.5f, 0.0f));
    top.createTextureUnitState("moss.tga");
    top.setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
    std::vector<MaterialLayerSettings> saved = layersOf("Stone");

    std::string path = (dir / "stone-copy.material").string();
    ASSERT_TRUE(saveMaterialScript("Stone", path));
    EXPECT_NE(test::readFile(path).find("material Stone"), std::string::npos);
    EXPECT_TRUE(deleteMaterial("Stone"));
    Result<std::vector<std::string>> loaded = loadMaterialScriptFile(path);
    ASSERT_TRUE(loaded) << loaded.error();
    EXPECT_EQ(loaded.value(), std::vector<std::string>{"Stone"});
    expectSameLayers(layersOf("Stone"), saved);

    EXPECT_EQ(saveMaterialScript("Nowhere", path).error(),
              "ERR: No material named \"Nowhere\" is loaded.");
}

TEST_F(MaterialEditsTest, AFailedSaveLeavesTheOldFile) {
    std::string path = (dir / "old.material").string();
    test::writeFile(path, "old");
    Ogre::MaterialManager::getSingleton().create("Stone", "MTL")->setDiffuse(0.5f, 0.5f, 0.5f, 1);
    // Files may not grow past 10 bytes: the new text cannot be written whole.
    signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 10;
    setrlimit(RLIMIT_FSIZE, &small);
    Status saved = saveMaterialScript("Stone", path);
    setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_EQ(saved.error(), "ERR: Unable to write " + path + ".");
    EXPECT_EQ(saved.failedOutput(), path);
    EXPECT_EQ(test::readFile(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

}  // namespace
}  // namespace verada
