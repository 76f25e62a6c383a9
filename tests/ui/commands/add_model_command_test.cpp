#include "ui/commands/add_model_command.h"

#include <filesystem>

#include <OgreEntity.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <gtest/gtest.h>

#include "platform/application_identity.h"
#include "tests/support/fake_platform.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

class AddModelCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.platform = &platform;
        state.mainWindow = reinterpret_cast<WindowHandle>(0x1234);
        state.sceneManager = ogre.freshSceneManager();
        std::filesystem::current_path(startup.path());
        state.directories.startupDirectory = startup.path().string();
        state.directories.lastUsedDirectory = startup.path().string();
    }
    void TearDown() override {
        state.sceneManager->clearScene();
        Ogre::MeshManager::getSingleton().removeAll();
    }

    void answer(const std::filesystem::path& path) {
        platform.fileAnswers.push_back(path.string());
    }

    Ogre::SceneNode* rootChild(const std::string& name) {
        for (Ogre::Node* child : state.sceneManager->getRootSceneNode()->getChildren()) {
            if (child->getName() == name) {
                return static_cast<Ogre::SceneNode*>(child);
            }
        }
        return nullptr;
    }

    test::TempDir startup;
    test::HeadlessOgre ogre;
    test::FakePlatform platform;
    AppState state;
};

TEST_F(AddModelCommandTest, EachFormatAsksWithItsOwnFilters) {
    struct Case {
        ModelFormat format;
        const char* extension;
        std::vector<std::string> texts;
        std::vector<std::string> patterns;
    };
    const Case cases[] = {
        {ModelFormat::Gmdl,
         "gmdl",
         {"Spore GMDL Files (*.gmdl)", "All Files (*.*)"},
         {"*.gmdl", "*.*"}},
        {ModelFormat::Gmsh,
         "gmsh",
         {"Spore GMSH Files (*.gmsh)", "All Files (*.*)"},
         {"*.gmsh", "*.*"}},
        {ModelFormat::Gmdc,
         "simpe",
         {"SimPE Files (*.simpe;*.5gd)", "SimPE (*.simpe)", "GMDC (*.5gd)", "All Files (*.*)"},
         {"*.simpe;*.5gd", "*.simpe", "*.5gd", "*.*"}},
    };
    for (const Case& c : cases) {
        platform.fileRequests.clear();
        platform.fileAnswers.push_back(std::nullopt);
        EXPECT_EQ(addModelAsNewNode(state, c.format), 0);
        ASSERT_EQ(platform.fileRequests.size(), 1u);
        const FileDialogRequest& request = platform.fileRequests[0];
        EXPECT_FALSE(request.save);
        EXPECT_EQ(request.defaultExtension, c.extension);
        std::vector<std::string> texts;
        std::vector<std::string> patterns;
        for (const FileFilter& filter : request.filters) {
            texts.push_back(filter.text);
            patterns.push_back(filter.pattern);
        }
        EXPECT_EQ(texts, c.texts);
        EXPECT_EQ(patterns, c.patterns);
    }
    EXPECT_EQ(platform.messages.size(), 3u);  // "File not located" each time
    EXPECT_EQ(state.sceneManager->getRootSceneNode()->numChildren(), 0u);
}

TEST_F(AddModelCommandTest, SameFileTwiceGivesNumberedMeshesAndNodes) {
    std::filesystem::path sample = test::samplePath("gmdl/Megamouth.gmdl");
    answer(sample);
    answer(sample);
    EXPECT_EQ(addModelAsNewNode(state, ModelFormat::Gmdl), 1);
    EXPECT_EQ(addModelAsNewNode(state, ModelFormat::Gmdl), 1);
    EXPECT_TRUE(platform.messages.empty());

    for (const char* name : {"Megamouth", "Megamouth0"}) {
        Ogre::SceneNode* node = rootChild(name);
        ASSERT_NE(node, nullptr) << name;
        EXPECT_EQ(node->getPosition(), Ogre::Vector3::ZERO);
        EXPECT_EQ(node->getScale(), Ogre::Vector3::UNIT_SCALE);
        ASSERT_EQ(node->numAttachedObjects(), 1u);
        auto* entity = static_cast<Ogre::Entity*>(node->getAttachedObject(0));
        EXPECT_EQ(entity->getName(), name);
        EXPECT_EQ(entity->getMesh()->getName(), name);
        EXPECT_EQ(entity->getMesh()->getGroup(), "MSH");
        EXPECT_GT(entity->getMesh()->getNumSubMeshes(), 0u);
    }
    // The working directory went back; the next dialog starts in the sample's folder.
    EXPECT_EQ(std::filesystem::current_path(), startup.path());
    EXPECT_EQ(std::filesystem::path(state.directories.lastUsedDirectory),
              std::filesystem::canonical(sample.parent_path()));
}

TEST_F(AddModelCommandTest, GmdcModelsLoadAsNewNodes) {
    answer(test::samplePath("gmdc/TestMesh.5gd"));
    answer(test::samplePath("gmdc/teapot_model.extracted.5gd"));
    EXPECT_EQ(addModelAsNewNode(state, ModelFormat::Gmdc), 1);
    EXPECT_EQ(addModelAsNewNode(state, ModelFormat::Gmdc), 1);
    EXPECT_NE(rootChild("TestMesh"), nullptr);
    // The mesh is "teapot_model.extracted"; its node name is split once more.
    EXPECT_NE(rootChild("teapot_model"), nullptr);
    EXPECT_TRUE(state.sceneManager->hasEntity("teapot_model.extracted"));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(AddModelCommandTest, ReaderMessageIsShownWithoutOwnerAndNothingIsBuilt) {
    test::TempDir files;
    test::writeFile(files / "broken.gmdl", "GMDL");
    answer(files / "broken.gmdl");
    EXPECT_EQ(addModelAsNewNode(state, ModelFormat::Gmdl), 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    const test::FakePlatform::Message& message = platform.messages[0];
    EXPECT_FALSE(message.hasOwner);
    EXPECT_EQ(message.caption, kApplicationCaption);
    EXPECT_EQ(message.icon, MessageIcon::Warning);
    EXPECT_EQ(message.text.rfind("ERR: ", 0), 0u) << message.text;
    EXPECT_FALSE(Ogre::MeshManager::getSingleton().resourceExists("broken", "MSH"));
    EXPECT_EQ(state.sceneManager->getRootSceneNode()->numChildren(), 0u);
    // The working directory stays where the dialog left it.
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(files.path()));
}

TEST_F(AddModelCommandTest, ExistingNodeGetsTheEntity) {
    Ogre::SceneNode* target = state.sceneManager->getRootSceneNode()->createChildSceneNode("shark");
    answer(test::samplePath("gmdc/TestMesh.5gd"));
    EXPECT_EQ(addModelToExistingNode(state, ModelFormat::Gmdc, "shark"), 1);
    ASSERT_EQ(target->numAttachedObjects(), 1u);
    EXPECT_EQ(target->getAttachedObject(0)->getName(), "TestMesh");
    EXPECT_EQ(state.sceneManager->getRootSceneNode()->numChildren(), 1u);
}

TEST_F(AddModelCommandTest, EmptyNodeNameBuildsTheMeshOnly) {
    answer(test::samplePath("gmdc/TestMesh.5gd"));
    EXPECT_EQ(addModelToExistingNode(state, ModelFormat::Gmdc, ""), 1);
    EXPECT_TRUE(Ogre::MeshManager::getSingleton().resourceExists("TestMesh", "MSH"));
    EXPECT_FALSE(state.sceneManager->hasEntity("TestMesh"));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(AddModelCommandTest, UnknownNodeNameIsReported) {
    answer(test::samplePath("gmdc/TestMesh.5gd"));
    EXPECT_EQ(addModelToExistingNode(state, ModelFormat::Gmdc, "nowhere"), 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "WARN: No scene node named \"nowhere\"; mesh TestMesh was built but not attached.");
    EXPECT_TRUE(platform.messages[0].hasOwner);
    EXPECT_FALSE(state.sceneManager->hasEntity("TestMesh"));
}

TEST_F(AddModelCommandTest, ModelsFromAPackageGoOnNodesNamedAfterTheirItems) {
    answer(test::samplePath("gmdc/teapot_model.package"));
    EXPECT_EQ(addPackageModelsAsNewNodes(state), 1);
    EXPECT_NE(rootChild("KL-GMDC-AC4F8687-1C0532FA-FF515126-3AFDFD2C"), nullptr);
    ASSERT_EQ(platform.fileRequests.size(), 1u);
    EXPECT_EQ(platform.fileRequests[0].defaultExtension, "package");
    EXPECT_EQ(platform.fileRequests[0].filters[0].text, "Package files (*.package)");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(std::filesystem::current_path(), startup.path());

    answer(test::samplePath("package/spore-smfx/Project_0.package"));
    EXPECT_EQ(addPackageModelsAsNewNodes(state), 0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "ERR: Package holds no GMDL, GMSH or GMDC item.");
    EXPECT_FALSE(platform.messages[0].hasOwner);
    EXPECT_EQ(state.sceneManager->getRootSceneNode()->numChildren(), 1u);
}

}  // namespace
}  // namespace verada
