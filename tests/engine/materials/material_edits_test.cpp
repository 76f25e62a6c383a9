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
#include "tests/support/layer_text.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

Ogre::MaterialPtr materialNamed(const std::string& name) {
    return Ogre::MaterialManager::getSingleton().getByName(name, Ogre::RGN_AUTODETECT);
}

// Every layer of the material, as the editor reads them.
std::vector<std::string> layersOf(const std::string& name) {
    std::vector<std::string> layers;
    MaterialLayerSettings settings;
    settings.materialName = name;
    for (int layer = 0; readMaterialLayer(settings, layer) && layer < settings.layerCount;
         ++layer) {
        layers.push_back(test::layerText(settings));
    }
    return layers;
}

class MaterialEditsTest : public ::testing::Test {
  protected:
    test::HeadlessOgre ogre;
    test::TempDir dir;
};

TEST_F(MaterialEditsTest, ClonesAndDeletesKeepNamesAndBuiltInsSafe) {
    Ogre::MaterialManager::getSingleton().create("Stone", "MTL");
    const std::tuple<std::string, std::string, std::string> clones[] = {
        {"BaseWhite", "Stone", "Material name must be unique."},
        {"Stone", "Stone", "Material name must be unique."},
        {"Gravel", "Sand", "Clone From Material name not found."},
        {"Gravel", "Stone", ""},
    };
    for (const auto& [newName, fromName, error] : clones) {
        EXPECT_EQ(cloneMaterial(newName, fromName).error(), error) << newName;
    }
    EXPECT_EQ(materialNamed("Gravel")->getGroup(), "MTL");  // the source's group
    EXPECT_FALSE(materialNamed("Sand"));

    // Without "BaseWhite" no model could be added.
    for (const char* name : {"DefaultSettings", "BaseWhite", "BaseWhiteNoLighting"}) {
        EXPECT_EQ(deleteMaterial(name).error(),
                  std::string("WARN: \"") + name +
                      "\" is one of the engine's own materials and cannot be deleted.");
        EXPECT_TRUE(materialNamed(name));
    }
    EXPECT_TRUE(deleteMaterial("Gravel"));
    EXPECT_FALSE(materialNamed("Gravel"));
    EXPECT_TRUE(deleteMaterial("Gravel"));  // nothing left to delete is no error
}

TEST_F(MaterialEditsTest, ASavedScriptLoadsBackWithTheSameLayers) {
    Ogre::MaterialPtr stone = Ogre::MaterialManager::getSingleton().create("Stone", "MTL");
    Ogre::Pass& base = *stone->getTechnique(0)->getPass(0);
    base.setDiffuse(0.5f, 0.25f, 0.125f, 1.0f);
    base.setShininess(20.0f);
    base.createTextureUnitState("stone.png");
    Ogre::Pass& top = *stone->getTechnique(0)->createPass();
    top.setSpecular(1.0f, 1.0f, 1.0f, 0.5f);
    top.setSelfIllumination(0.0f, 0.5f, 0.0f);
    top.createTextureUnitState("moss.tga");
    top.setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
    std::vector<std::string> saved = layersOf("Stone");

    std::string path = (dir / "stone-copy.material").string();
    ASSERT_TRUE(saveMaterialScript("Stone", path));
    EXPECT_TRUE(deleteMaterial("Stone"));
    Result<std::vector<std::string>> loaded = loadMaterialScriptFile(path);
    ASSERT_TRUE(loaded) << loaded.error();
    EXPECT_EQ(loaded.value(), std::vector<std::string>{"Stone"});
    EXPECT_EQ(layersOf("Stone"), saved);
    EXPECT_EQ(saveMaterialScript("Nowhere", path).error(),
              "ERR: No material named \"Nowhere\" is loaded.");
}

TEST_F(MaterialEditsTest, AFailedSaveLeavesTheOldFile) {
    std::string path = (dir / "old.material").string();
    test::writeFile(path, "old");
    Ogre::MaterialManager::getSingleton().create("Stone", "MTL");
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
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace verada
