#include "engine/materials/material_script_loader.h"

#include <OgreGpuProgramManager.h>
#include <OgreMaterial.h>
#include <OgreMaterialManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreTextureManager.h>
#include <gtest/gtest.h>

#include "engine/materials/material_listing.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

std::string sampleScript(const std::string& name) {
    return test::samplePath("ogre-mesh/materials/" + name).string();
}

std::vector<std::string> materialNames() {
    NameList names;
    std::vector<std::string> list;
    for (int i = 0, n = listMaterialNames(names); i < n; ++i) {
        list.push_back(names[i]);
    }
    return list;
}

bool textureKnown(const std::string& name) {
    return Ogre::TextureManager::getSingleton().resourceExists(name, Ogre::RGN_AUTODETECT);
}

class MaterialScriptLoaderTest : public ::testing::Test {
  protected:
    std::string written(const std::string& name, const std::string& text) {
        test::writeFile(dir / name, text);
        return (dir / name).string();
    }

    test::HeadlessOgre ogre;
    test::TempDir dir;
};

TEST_F(MaterialScriptLoaderTest, SampleScriptsLoadOrFailWholly) {
    Result<std::vector<std::string>> ogreScript =
        loadMaterialScriptFile(sampleScript("Ogre.material"));
    ASSERT_TRUE(ogreScript) << ogreScript.error();
    EXPECT_EQ(ogreScript.value(),
              (std::vector<std::string>{"Ogre/Earring", "Ogre/Skin", "Ogre/Tusks", "Ogre/Eyes"}));
    EXPECT_TRUE(ogreScript.warnings().empty());
    EXPECT_EQ(Ogre::MaterialManager::getSingleton().getByName("Ogre/Skin")->getGroup(), "MTL");
    std::vector<std::string> before = materialNames();

    // The 2009 version defines the same materials again.
    Result<std::vector<std::string>> old =
        loadMaterialScriptFile(sampleScript("Ogre.v2009.material"));
    EXPECT_EQ(old.error(), "ERR: Material with the name Ogre/Earring already exists.");
    EXPECT_EQ(materialNames(), before);
    EXPECT_FALSE(textureKnown("WeirdEye.png"));

    Result<std::vector<std::string>> examples =
        loadMaterialScriptFile(sampleScript("Examples.material"));
    ASSERT_TRUE(examples) << examples.error();
    EXPECT_EQ(examples->size(), 67u);
    EXPECT_EQ(examples->front(), "Examples/SphereMappedRustySteel");
    // Two complaints for each of its five "rtshader_system" blocks; the rest still loads.
    ASSERT_EQ(examples.warnings().size(), 10u);
    EXPECT_EQ(examples.warnings()[0],
              "WARN: " + sampleScript("Examples.material") +
                  "(192): 'rtshader_system'. If this is a legacy script you must prepend the "
                  "type (e.g. font, overlay).");
    EXPECT_EQ(examples.warnings()[9], "WARN: " + sampleScript("Examples.material") +
                                          "(1250): token \"rtshader_system\" is not recognized");
    EXPECT_TRUE(Ogre::MaterialManager::getSingleton().resourceExists("RustyBarrel", "MTL"));
    // Its folder is where its textures are looked for.
    EXPECT_TRUE(Ogre::ResourceGroupManager::getSingleton().resourceLocationExists(
        test::samplePath("ogre-mesh/materials").string(), "MTL"));
}

TEST_F(MaterialScriptLoaderTest, BrokenScriptsLeaveTheLibraryAsItWas) {
    Ogre::MaterialManager::getSingleton().create("rock", "General");
    struct Case {
        std::string file;
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"rock.material", "material rock\n{\n}\nmaterial pebble\n{\n}\n",
         "Load failed.\r\nA material named \"rock\" is already loaded."},
        {"second.material",
         "material First\n{\n technique\n {\n  pass\n  {\n   texture_unit\n   {\n"
         "    texture first.png\n   }\n  }\n }\n}\nmaterial BaseWhite\n{\n}\n",
         "ERR: Material with the name BaseWhite already exists."},
        {"brace.material", "material Open\n{\n technique\n {\n",
         "ERR: brace.material defines no material."},
        {"quote.material", "material \"Open\n{\n}\n", "ERR: quote.material defines no material."},
        // Ogre's compiler would follow a wild pointer on these.
        {"variable.material",
         "material Open\n{\n technique\n {\n  pass\n  {\n   diffuse $c\n  }\n }\n",
         "ERR: variable.material uses a variable, but its { and } do not pair up."},
        {"tiny.material", "t{a{s $.}",
         "ERR: tiny.material uses a variable, but its { and } do not pair up."},
        {"stray.material", "m{s{e $o}}}",
         "ERR: stray.material uses a variable, but its { and } do not pair up."},
        // Nor on these, which it would not survive.
        {"wave.material",
         "material E\n{\n technique\n {\n  pass\n  {\n   texture_unit\n   {\n"
         "    wave_xform scroll_x\n   }\n  }\n }\n}\n",
         "ERR: Ogre's script compiler crashes on wave.material; nothing of it is loaded."},
        {"scroll.material", "material E{technique{pass{texture_unit{scroll_anim x}}}}",
         "ERR: Ogre's script compiler crashes on scroll.material; nothing of it is loaded."},
        // Braces in comments and strings do not count.
        {"comment.material",
         "material Open\n{\n technique\n {\n  pass\n  {\n   // }\n   /* } */ diffuse $c \"}\"\n"
         "  }\n }\n",
         "ERR: comment.material uses a variable, but its { and } do not pair up."},
        {"empty.material", "", "ERR: empty.material defines no material."},
        {"program.material",
         "vertex_program Program glsl\n{\n source program.vert\n}\nmaterial Second\n{\n}\n"
         "material rock\n{\n}\n",
         "ERR: Material with the name rock already exists."},
    };
    std::vector<std::string> before = materialNames();
    for (const Case& c : cases) {
        EXPECT_EQ(loadMaterialScriptFile(written(c.file, c.text)).error(), c.error) << c.file;
        EXPECT_EQ(materialNames(), before) << c.file;
    }
    EXPECT_FALSE(textureKnown("first.png"));
    EXPECT_FALSE(Ogre::ResourceGroupManager::getSingleton().resourceLocationExists(
        dir.path().string(), "MTL"));
    // Nothing of the failed script stands in the way of the mended one.
    Result<std::vector<std::string>> mended = loadMaterialScriptFile(written(
        "program.material",
        "vertex_program Program glsl\n{\n source program.vert\n}\nmaterial Second\n{\n}\n"));
    ASSERT_TRUE(mended) << mended.error();
    EXPECT_EQ(mended.value(), std::vector<std::string>{"Second"});
    EXPECT_TRUE(Ogre::GpuProgramManager::getSingleton().resourceExists("Program", "MTL"));

    EXPECT_EQ(loadMaterialScriptFile((dir / "missing.material").string()).error(),
              "ERR: Cannot open file: " + (dir / "missing.material").string());
}

}  // namespace
}  // namespace verada
