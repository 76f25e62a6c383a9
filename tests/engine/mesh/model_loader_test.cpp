#include "engine/mesh/model_loader.h"

#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <gtest/gtest.h>

#include "engine/scene/scene_nodes.h"
#include "tests/support/gmdc_writer.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

class ModelLoaderTest : public ::testing::Test {
  protected:
    void SetUp() override { state.sceneManager = ogre.freshSceneManager(); }
    void TearDown() override {
        state.sceneManager->clearScene();
        Ogre::MeshManager::getSingleton().removeAll();
    }

    test::TempDir dir;
    test::HeadlessOgre ogre;
    AppState state;
};

TEST_F(ModelLoaderTest, FileFromTheCommandLineGoesOnANewNode) {
    const std::string path = test::samplePath("gmdl/Megamouth.gmdl").string();
    std::vector<AddedModel> added = addModelFileAsNewNodes(state, path);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].file, path);
    ASSERT_TRUE(added[0].built) << added[0].built.error();
    EXPECT_EQ(added[0].built->name, "Megamouth");
    EXPECT_NE(rootChildNamed(state, "Megamouth"), nullptr);

    for (const auto& [file, error] : std::vector<std::pair<std::string, std::string>>{
             {"notes.txt", "ERR: Unknown model file type, expected .gmdl, .gmsh, .5gd or .simpe."},
             {"missing.gmsh", "ERR: File missing or damaged."},
             {"missing.package", "Failed to open input file missing.package\r\n"}}) {
        added = addModelFileAsNewNodes(state, file);
        ASSERT_EQ(added.size(), 1u);
        EXPECT_EQ(added[0].file, file);
        EXPECT_EQ(added[0].built.error(), error);
    }
    EXPECT_EQ(state.sceneManager->getRootSceneNode()->numChildren(), 1u);
}

// Each model item of a package goes on a node named after the file it would unpack to.
TEST_F(ModelLoaderTest, ModelsOfAPackageGoOnNodesOfTheirOwn) {
    const std::string path = test::samplePath("gmdc/TestMesh.package").string();
    const std::string item = "KL-GMDC-AC4F8687-1C050000-FF8AF5A3-2A6F56FA";
    for (const char* node : {"KL-GMDC-AC4F8687-1C050000-FF8AF5A3-2A6F56FA",
                             "KL-GMDC-AC4F8687-1C050000-FF8AF5A3-2A6F56FA0"}) {
        std::vector<AddedModel> added = addModelFileAsNewNodes(state, path);
        ASSERT_EQ(added.size(), 1u);
        EXPECT_EQ(added[0].file, path + ":" + item + ".5gd");
        ASSERT_TRUE(added[0].built) << added[0].built.error();
        EXPECT_EQ(added[0].built->name, node);
        EXPECT_NE(rootChildNamed(state, node), nullptr) << node;
    }
}

TEST_F(ModelLoaderTest, ReaderWarningsTravelWithTheMesh) {
    test::GmdcFile file = test::simpleGmdc(4, 3, {0, 1, 2});
    file.links[0].references = {0, 1};
    std::vector<std::uint8_t> bytes = file.bytes();
    test::writeFile(dir / "plain.5gd", std::string(bytes.begin(), bytes.end()));
    Result<BuiltMesh> built = loadModelMesh(ModelFormat::Gmdc, (dir / "plain.5gd").string());
    ASSERT_TRUE(built) << built.error();
    EXPECT_EQ(built.warnings(), std::vector<std::string>{"WARN: Model lacks UVs.\r\n"});
    EXPECT_TRUE(built->leftOut.empty());
    EXPECT_TRUE(Ogre::MeshManager::getSingleton().resourceExists("plain", "MSH"));
}

TEST_F(ModelLoaderTest, AttachingNeedsARootChildOfThatName) {
    Result<BuiltMesh> built =
        loadModelMesh(ModelFormat::Gmdc, test::samplePath("gmdc/TestMesh.5gd").string());
    ASSERT_TRUE(built) << built.error();
    state.sceneManager->getRootSceneNode()->createChildSceneNode("holder")->createChildSceneNode(
        "inner");
    EXPECT_EQ(attachToRootChild(state, "inner", built->name).error(),
              "WARN: No scene node named \"inner\"; mesh TestMesh was built but not attached.");
    EXPECT_TRUE(attachToRootChild(state, "holder", built->name));
    EXPECT_EQ(rootChildNamed(state, "holder")->numAttachedObjects(), 1u);
}

}  // namespace
}  // namespace verada
