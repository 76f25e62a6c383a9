#include "engine/materials/texture_library.h"

#include <cstdlib>

#include <OgreMaterial.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreTechnique.h>
#include <OgreTextureManager.h>
#include <gtest/gtest.h>

#include "engine/materials/material_listing.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

std::string texture(const std::string& name) {
    return test::samplePath("ogre-mesh/textures/" + name).string();
}

bool textureKnown(const std::string& name) {
    return Ogre::TextureManager::getSingleton().resourceExists(name, Ogre::RGN_AUTODETECT);
}

class TextureLibraryTest : public ::testing::Test {
  protected:
    test::HeadlessOgre ogre;
    test::TempDir dir;
};

TEST_F(TextureLibraryTest, FourImageFormatsDecodeAndNameTheirTexture) {
    // TGA and DDS (block-compressed) written by ImageMagick from the PNG.
    std::string tga = (dir / "barrel.tga").string();
    std::string dds = (dir / "barrel.dds").string();
    std::string command = "convert '" + texture("RustyBarrel.png") + "' '" + tga +
                          "' && convert '" + texture("RustyBarrel.png") +
                          "' -define dds:compression=dxt1 '" + dds + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const std::string& path : {texture("RustyBarrel.png"), texture("dirt01.jpg"), tga, dds}) {
        std::string name = std::filesystem::path(path).filename().string();
        Result<LoadedTexture> first = loadTextureFile(path);
        ASSERT_TRUE(first) << first.error();
        EXPECT_EQ(first->name, name);
        EXPECT_TRUE(first->loaded);
        EXPECT_EQ(Ogre::TextureManager::getSingleton().getByName(name, "TexFiles")->getName(),
                  name);
        // Known by that name now: not read again, the name handed back all the same.
        Result<LoadedTexture> again = loadTextureFile(path);
        EXPECT_EQ(again->name, name);
        EXPECT_FALSE(again->loaded);
    }
    NameList names;
    ASSERT_EQ(listTextureNames(names), 4);
    EXPECT_EQ(names[3], "barrel.dds");

    // A file that is no image leaves its name free for when it is mended.
    std::string broken = (dir / "broken.png").string();
    test::writeFile(broken, "not a picture");
    EXPECT_EQ(loadTextureFile(broken).error().rfind("ERR: ", 0), 0u);
    EXPECT_FALSE(textureKnown("broken.png"));
    std::filesystem::copy_file(texture("WeirdEye.png"), broken,
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_TRUE(loadTextureFile(broken));
}

TEST_F(TextureLibraryTest, DeletingATextureTakesItOnlyFromUnitZero) {
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    struct Case {
        const char* material;
        std::vector<std::vector<std::string>> passes;  // the units' textures
        std::vector<std::size_t> unitsAfter;
    };
    const Case cases[] = {
        {"Shown", {{"a.png"}}, {0}},   {"Second", {{"other.png", "a.png"}}, {2}},
        {"Capital", {{"A.png"}}, {1}}, {"Both", {{"a.png", "b.png"}, {"a.png"}}, {1, 0}},
        {"Blank", {{""}}, {1}},
    };
    for (const Case& c : cases) {
        Ogre::Technique& technique = *materials.create(c.material, "MTL")->getTechnique(0);
        for (std::size_t p = 0; p < c.passes.size(); ++p) {
            Ogre::Pass& pass = p == 0 ? *technique.getPass(0) : *technique.createPass();
            for (const std::string& unit : c.passes[p]) {
                if (unit.empty()) {
                    pass.createTextureUnitState();  // a unit that shows no texture file
                } else {
                    pass.createTextureUnitState(unit);
                }
            }
        }
    }
    MaterialLayerSettings settings;
    // The record of a layer without texture names none, and takes no unit from anywhere.
    EXPECT_FALSE(deleteTexture(settings));
    settings.textureName = "a.png";
    EXPECT_TRUE(deleteTexture(settings));
    EXPECT_EQ(settings.textureName, "");
    EXPECT_FALSE(textureKnown("a.png"));
    for (const Case& c : cases) {
        Ogre::Technique& technique = *materials.getByName(c.material)->getTechnique(0);
        for (std::size_t p = 0; p < c.passes.size(); ++p) {
            EXPECT_EQ(technique.getPass(p)->getNumTextureUnitStates(), c.unitsAfter[p])
                << c.material << " " << p;
        }
    }
    settings.textureName = "a.png";
    EXPECT_FALSE(deleteTexture(settings));
}

}  // namespace
}  // namespace verada
