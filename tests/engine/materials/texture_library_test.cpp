#include "engine/materials/texture_library.h"

#include <cstdlib>

#include <OgreImage.h>
#include <OgreMaterial.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreRoot.h>
#include <OgreTechnique.h>
#include <OgreTextureManager.h>
#include <gtest/gtest.h>

#include "engine/materials/material_listing.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

std::filesystem::path texture(const std::string& name) {
    return test::samplePath("ogre-mesh/textures/" + name);
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
    // TGA and DDS written by ImageMagick from the PNG.
    for (const char* options : {"", "-define dds:compression=dxt1 "}) {
        std::string target = (dir / (*options ? "barrel.dds" : "barrel.tga")).string();
        std::string command =
            "convert '" + texture("RustyBarrel.png").string() + "' " + options + "'" + target + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    struct Case {
        std::filesystem::path path;
        std::size_t side;
    };
    const Case cases[] = {{texture("RustyBarrel.png"), 256},
                          {texture("dirt01.jpg"), 96},
                          {dir / "barrel.tga", 256},
                          {dir / "barrel.dds", 256}};
    for (const Case& c : cases) {
        Ogre::Image image;
        image.load(Ogre::Root::openFileStream(c.path.string()),
                   c.path.extension().string().substr(1));
        EXPECT_EQ(image.getWidth(), c.side) << c.path;
        EXPECT_EQ(image.getHeight(), c.side) << c.path;

        Result<LoadedTexture> first = loadTextureFile(c.path.string());
        ASSERT_TRUE(first) << first.error();
        EXPECT_EQ(first->name, c.path.filename().string());
        EXPECT_TRUE(first->loaded);
        EXPECT_EQ(Ogre::TextureManager::getSingleton()
                      .getByName(first->name, Ogre::RGN_AUTODETECT)
                      ->getGroup(),
                  "TexFiles");
        // Known by that name now: not read again, the name handed back all the same.
        Result<LoadedTexture> again = loadTextureFile(c.path.string());
        ASSERT_TRUE(again);
        EXPECT_EQ(again->name, first->name);
        EXPECT_FALSE(again->loaded);
    }
    NameList names;
    ASSERT_EQ(listTextureNames(names), 4);
    EXPECT_EQ(names[0], "RustyBarrel.png");
    EXPECT_EQ(names[3], "barrel.dds");
}

TEST_F(TextureLibraryTest, AFileThatIsNoImageLeavesItsNameFree) {
    std::string path = (dir / "broken.png").string();
    test::writeFile(path, "not a picture");
    Result<LoadedTexture> broken = loadTextureFile(path);
    EXPECT_EQ(broken.error().rfind("ERR: ", 0), 0u) << broken.error();
    EXPECT_FALSE(textureKnown("broken.png"));
    EXPECT_EQ(loadTextureFile((dir / "missing.png").string()).error(),
              "ERR: Cannot open file: " + (dir / "missing.png").string());

    std::filesystem::copy_file(texture("WeirdEye.png"), path,
                               std::filesystem::copy_options::overwrite_existing);
    Result<LoadedTexture> mended = loadTextureFile(path);
    ASSERT_TRUE(mended) << mended.error();
    EXPECT_TRUE(mended->loaded);
}

TEST_F(TextureLibraryTest, DeletingATextureTakesItOnlyFromUnitZero) {
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    struct Layer {
        std::vector<std::string> units;
        std::size_t unitsAfter;
    };
    struct Case {
        const char* material;
        std::vector<Layer> layers;
    };
    const Case cases[] = {
        {"Shown", {{{"a.png"}, 0}}},
        {"Second", {{{"other.png", "a.png"}, 2}}},
        {"Capital", {{{"A.png"}, 1}}},
        {"Both", {{{"a.png", "b.png"}, 1}, {{"a.png"}, 0}}},
    };
    for (const Case& c : cases) {
        Ogre::Technique& technique = *materials.create(c.material, "MTL")->getTechnique(0);
        for (std::size_t p = 0; p < c.layers.size(); ++p) {
            Ogre::Pass& pass = p == 0 ? *technique.getPass(0) : *technique.createPass();
            for (const std::string& unit : c.layers[p].units) {
                pass.createTextureUnitState(unit);
            }
        }
    }
    MaterialLayerSettings settings;
    settings.textureName = "a.png";
    settings.hasTexture = true;
    EXPECT_TRUE(deleteTexture(settings));
    EXPECT_EQ(settings.textureName, "");
    EXPECT_TRUE(settings.hasTexture);
    EXPECT_FALSE(textureKnown("a.png"));
    for (const Case& c : cases) {
        Ogre::Technique& technique =
            *materials.getByName(c.material, Ogre::RGN_AUTODETECT)->getTechnique(0);
        for (std::size_t p = 0; p < c.layers.size(); ++p) {
            EXPECT_EQ(technique.getPass(p)->getNumTextureUnitStates(), c.layers[p].unitsAfter)
                << c.material << " " << p;
        }
    }
    EXPECT_EQ(materials.getByName("Both")
                  ->getTechnique(0)
                  ->getPass(0)
                  ->getTextureUnitState(0)
                  ->getTextureName(),
              "b.png");
    settings.textureName = "a.png";
    EXPECT_FALSE(deleteTexture(settings));
}

}  // namespace
}  // namespace verada
