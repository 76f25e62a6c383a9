#include <filesystem>

#include <OgreEntity.h>
#include <OgreMaterialManager.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSubEntity.h>
#include <gtest/gtest.h>

#include "engine/scene/scene_nodes.h"
#include "platform/application_identity.h"
#include "tests/support/fake_platform.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/test_paths.h"
#include "ui/commands/material_script_command.h"
#include "ui/commands/ogre_mesh_command.h"
#include "ui/commands/open_files_command.h"

namespace verada {
namespace {

std::filesystem::path ogreSample(const std::string& name) {
    return test::samplePath("ogre-mesh/" + name);
}

class MaterialCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.platform = &platform;
        state.mainWindow = reinterpret_cast<WindowHandle>(0x1234);
        state.sceneManager = ogre.freshSceneManager();
        std::filesystem::current_path(startup.path());
        state.directories = {startup.path().string(), startup.path().string()};
    }
    void TearDown() override { state.sceneManager->clearScene(); }

    void answer(const std::filesystem::path& path) {
        platform.fileAnswers.push_back(path.string());
    }

    bool materialLoaded(const std::string& name) {
        return Ogre::MaterialManager::getSingleton().resourceExists(name, Ogre::RGN_AUTODETECT);
    }

    std::string subEntityMaterial(const std::string& entity, unsigned index) {
        return state.sceneManager->getEntity(entity)->getSubEntity(index)->getMaterialName();
    }

    test::TempDir startup;
    test::TempDir files;
    test::HeadlessOgre ogre;
    test::FakePlatform platform;
    AppState state;
};

TEST_F(MaterialCommandsTest, EachCommandAsksForItsFilesAndStopsOnCancel) {
    struct Case {
        std::function<bool()> run;
        const char* extension;
        FileFilter filter;
    };
    const Case cases[] = {
        {[this] { return loadMaterialScript(state); },
         "material",
         {"Ogre Material files (*.material)", "*.material"}},
        {[this] { return loadOgreMeshNode(state, "holder"); },
         "mesh",
         {"Ogre Mesh files (*.mesh)", "*.mesh"}},
    };
    for (const Case& c : cases) {
        platform.fileRequests.clear();
        platform.messages.clear();
        platform.fileAnswers.push_back(std::nullopt);
        EXPECT_FALSE(c.run());
        ASSERT_EQ(platform.fileRequests.size(), 1u);
        const FileDialogRequest& request = platform.fileRequests[0];
        EXPECT_FALSE(request.save);
        EXPECT_EQ(request.defaultExtension, c.extension);
        ASSERT_EQ(request.filters.size(), 1u);
        EXPECT_EQ(request.filters[0].text, c.filter.text);
        EXPECT_EQ(request.filters[0].pattern, c.filter.pattern);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, "File not located");
    }
    EXPECT_EQ(state.sceneManager->getRootSceneNode()->numChildren(), 0u);
}

TEST_F(MaterialCommandsTest, ScriptMessagesComeInWarningBoxesWithoutOwner) {
    test::writeFile(files / "rock.material", "material rock\n{\n}\nmaterial pebble\n{\n}\n");
    Ogre::MaterialManager::getSingleton().create("rock", "General");
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {ogreSample("materials/Ogre.material"), ""},
        {ogreSample("materials/Ogre.v2009.material"),
         "ERR: Material with the name Ogre/Earring already exists."},
        {files / "rock.material", "Load failed.\r\nA material named \"rock\" is already loaded."},
        // Its ten compiler complaints, one per line, in one box.
        {ogreSample("materials/Examples.material"),
         "WARN: " + ogreSample("materials/Examples.material").string() + "(192): "},
    };
    for (const auto& [script, text] : cases) {
        platform.messages.clear();
        answer(script);
        EXPECT_TRUE(loadMaterialScript(state)) << script;
        EXPECT_EQ(platform.messages.size(), text.empty() ? 0u : 1u) << script;
        for (const test::FakePlatform::Message& message : platform.messages) {
            EXPECT_EQ(message.text.substr(0, text.size()), text);
            EXPECT_FALSE(message.hasOwner);
            EXPECT_EQ(message.icon, MessageIcon::Warning);
            EXPECT_EQ(message.caption, kApplicationCaption);
        }
        EXPECT_EQ(std::filesystem::current_path(), startup.path());
        EXPECT_EQ(std::filesystem::path(state.directories.lastUsedDirectory),
                  std::filesystem::canonical(script.parent_path()));
    }
    const std::string& warnings = platform.messages[0].text;
    EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), 9);
    EXPECT_TRUE(materialLoaded("Ogre/Skin") && materialLoaded("RustyBarrel"));
    EXPECT_FALSE(materialLoaded("pebble"));
}

TEST_F(MaterialCommandsTest, MeshesGoOnNewOrExistingNodesOrGiveTheLoadersWarning) {
    Ogre::SceneNode* holder =
        state.sceneManager->getRootSceneNode()->createChildSceneNode("holder");
    std::filesystem::copy_file(ogreSample("v1.100/cube.mesh"), files / "ship.mesh");
    test::writeFile(files / "cut.mesh", test::readFile(files / "ship.mesh").substr(0, 1000));
    for (const std::filesystem::path& path :
         {files / "ship.mesh", files / "ship.mesh", ogreSample("v1.100/robot.mesh"),
          files / "ship.mesh", files / "cut.mesh"}) {
        answer(path);
    }
    EXPECT_TRUE(loadOgreMeshNode(state, ""));
    EXPECT_TRUE(loadOgreMeshNode(state, ""));
    EXPECT_TRUE(loadOgreMeshNode(state, "holder"));
    EXPECT_FALSE(loadOgreMeshNode(state, "nowhere"));
    EXPECT_FALSE(loadOgreMeshNode(state, ""));

    // The same file twice: a second node and entity on the one mesh.
    for (const char* name : {"ship", "ship0"}) {
        Ogre::SceneNode* node = rootChildNamed(state, name);
        ASSERT_NE(node, nullptr) << name;
        EXPECT_EQ(node->getPosition(), Ogre::Vector3::ZERO);
        ASSERT_EQ(node->numAttachedObjects(), 1u);
        EXPECT_EQ(node->getAttachedObject(0)->getName(), name);
    }
    Ogre::MeshPtr ship = state.sceneManager->getEntity("ship")->getMesh();
    EXPECT_EQ(ship, state.sceneManager->getEntity("ship0")->getMesh());
    EXPECT_EQ(ship->getName(), "ship.mesh");
    EXPECT_EQ(ship->getGroup(), "MSH");
    // The robot's skeleton came from the mesh's folder.
    ASSERT_EQ(holder->numAttachedObjects(), 1u);
    EXPECT_TRUE(state.sceneManager->getEntity("robot")->hasSkeleton());

    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text,
              "WARN: No scene node named \"nowhere\"; mesh ship.mesh was built but not attached.");
    EXPECT_TRUE(platform.messages[0].hasOwner);
    EXPECT_EQ(platform.messages[1].text,
              "ERR: Mesh data ends early: a read of 4 bytes at byte 997 of 1000.");
    EXPECT_FALSE(platform.messages[1].hasOwner);
    for (const test::FakePlatform::Message& message : platform.messages) {
        EXPECT_EQ(message.icon, MessageIcon::Warning);
    }
    EXPECT_FALSE(Ogre::MeshManager::getSingleton().resourceExists("cut.mesh", "MSH"));
    EXPECT_EQ(state.sceneManager->getRootSceneNode()->numChildren(), 3u);
    EXPECT_EQ(std::filesystem::current_path(), startup.path());
}

TEST_F(MaterialCommandsTest, FileArgumentsLoadScriptsFirstAndDespiteBadOnes) {
    test::writeFile(files / "empty.material", "");
    std::vector<std::string> paths = {ogreSample("v1.100/ogrehead.mesh").string(),
                                      test::samplePath("gmdc/TestMesh.5gd").string(),
                                      "notes.txt",
                                      ogreSample("materials/Ogre.material").string(),
                                      (files / "empty.material").string(),
                                      test::samplePath("gmdl/Megamouth.gmdl").string()};
    EXPECT_EQ(openFiles(state, paths).paths.size(), 4u);
    for (const char* node : {"ogrehead", "TestMesh", "Megamouth"}) {
        EXPECT_NE(rootChildNamed(state, node), nullptr) << node;
    }
    // The scripts came first, so the head shows the materials it names.
    EXPECT_EQ(subEntityMaterial("ogrehead", 0), "Ogre/Eyes");
    EXPECT_EQ(subEntityMaterial("ogrehead", 3), "Ogre/Tusks");
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text, "ERR: empty.material defines no material.");
    EXPECT_EQ(platform.messages[1].text,
              "ERR: Unknown file type, expected .gmdl, .gmsh, .5gd, .simpe, .mesh, .material, "
              ".package or .rts.");
    for (const test::FakePlatform::Message& message : platform.messages) {
        EXPECT_FALSE(message.hasOwner);
        EXPECT_EQ(message.icon, MessageIcon::Warning);
    }
}

}  // namespace
}  // namespace verada
