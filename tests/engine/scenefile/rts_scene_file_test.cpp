#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreLight.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSubEntity.h>
#include <gtest/gtest.h>

#include "engine/headless_scene.h"
#include "engine/scene/scene_nodes.h"
#include "engine/scene_files.h"
#include "engine/scenefile/rts_load.h"
#include "engine/scenefile/rts_save.h"
#include "tests/support/rts_text_compare.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

std::string ogreSample(const std::string& name) {
    return test::samplePath("ogre-mesh/" + name).string();
}

class RtsSceneFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        engine = startHeadlessScene(state, IniProfile());
        state.renderFrame = [this] {
            ++frames;
            return true;
        };
    }

    std::vector<std::string> nodeNames() {
        std::vector<std::string> names;
        for (const Ogre::Node* node : state.sceneManager->getRootSceneNode()->getChildren()) {
            names.push_back(node->getName());
        }
        return names;
    }

    AppState state;
    std::unique_ptr<Engine> engine;
    test::TempDir dir;
    int frames = 0;
};

// Ogre meshes (shared vertices; texture coordinates in a second buffer), a built model, the
// floor and the backdrop, moved, turned, scaled and hidden.
TEST_F(RtsSceneFileTest, SaveLoadSaveKeepsNodesMeshesSubmeshesAndMaterials) {
    for (const FileOutcome& outcome :
         loadSceneFiles(state, {ogreSample("v1.100/knot.mesh"), ogreSample("v1.100/robot.mesh"),
                                test::samplePath("gmdc/TestMesh.5gd").string(),
                                ogreSample("materials/Examples.material")})) {
        ASSERT_TRUE(outcome.status) << outcome.path << ": " << outcome.status.error();
    }
    Ogre::SceneNode* knot = rootChildNamed(state, "knot");
    knot->setPosition(1.5f, -2, 30);
    knot->setOrientation(
        Ogre::Quaternion(Ogre::Degree(30), Ogre::Vector3(1, 2, 3).normalisedCopy()));
    knot->setScale(0.01f, 0.02f, 0.03f);
    knot->attachObject(state.sceneManager->createEntity("knot again", "knot.mesh"));
    state.sceneManager->getEntity("TestMesh")->setMaterialName("Examples/Robot");
    toggleNodeVisibility(state, "robot");
    ViewSettings view;
    view.lightDiffuseColor = {0.25f, 0.5f, 0.75f};
    view.cameraDist = 7.25f;
    view.cameraNearClip = 0.5f;
    view.cameraFovY = 45;
    view.bgndGreen = 0.5f;
    state.viewSettings = view;

    const std::string first = (dir / "first.rts").string();
    const std::string second = (dir / "second.rts").string();
    ASSERT_TRUE(writeRtsFile(state, first));
    std::vector<std::string> names = nodeNames();
    state.viewSettings = ViewSettings{};

    Status loaded = loadRtsFile(state, first);
    ASSERT_TRUE(loaded) << loaded.error();
    EXPECT_EQ(nodeNames(), names);
    // After the clear, after the view and after each of the six meshes.
    EXPECT_EQ(frames, 8);
    EXPECT_EQ(state.sceneManager->getLight("Light1")->getDiffuseColour(),
              Ogre::ColourValue(0.25f, 0.5f, 0.75f));
    EXPECT_EQ(state.camera->getDerivedPosition(), Ogre::Vector3(0, 1, 7.25f));
    Ogre::Vector3 ahead = Ogre::Vector3(0, -0.3f, -14.5f).normalisedCopy();
    EXPECT_LT((state.camera->getDerivedDirection() - ahead).length(), 1e-6f);
    EXPECT_EQ(state.camera->getNearClipDistance(), 0.5f);
    EXPECT_NEAR(state.camera->getFOVy().valueDegrees(), 45.0f, 1e-4f);
    EXPECT_EQ(state.viewSettings.bgndGreen, 0.5f);
    EXPECT_EQ(state.sceneManager->getEntity("TestMesh")->getSubEntity(0)->getMaterialName(),
              "Examples/Robot");
    EXPECT_EQ(state.sceneManager->getEntity("robot")->getSubEntity(0)->getMaterialName(),
              "Examples/Robot");

    ASSERT_TRUE(writeRtsFile(state, second));
    std::string text = test::readFile(first);
    test::expectSameRtsLines(test::rtsLines(text), test::rtsLines(test::readFile(second)));
    for (const char* line :
         {"[Mesh:knot again]", "SN02Name=knot", "SN02MeshCount=2", "SharedVertexCount=1834",
          "SM00Name=GroupIndex00", "SM00Material=Examples/Robot", "BgndGreen=0.500000"}) {
        EXPECT_NE(text.find(std::string("\n") + line + "\r\n"), std::string::npos) << line;
    }
}

// A write that fails part-way (past the file size limit) and a folder that is not there.
TEST_F(RtsSceneFileTest, AFailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
    test::writeFile(dir / "keep.rts", "old");
    const std::string keep = (dir / "keep.rts").string();
    const std::string absent = (dir / "absent" / "new.rts").string();
    const std::pair<std::string, std::string> cases[] = {
        {keep, "ERR: Unable to write file\r\n\"" + keep + "\"."},
        {absent, "ERR: Unable to create file\r\n\"" + absent + "\"."},
    };
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    rlimit limit = unlimited;
    limit.rlim_cur = 512;
    for (const auto& [path, text] : cases) {
        setrlimit(RLIMIT_FSIZE, &limit);
        Status saved = writeRtsFile(state, path);
        setrlimit(RLIMIT_FSIZE, &unlimited);
        EXPECT_EQ(saved.error(), text);
        EXPECT_EQ(saved.failedOutput(), path);
    }
    EXPECT_EQ(test::readFile(dir / "keep.rts"), "old");
    auto entries = std::filesystem::directory_iterator(dir.path());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
}

// Node names are made unique; a mesh name the engine holds (the planes' "Prefab_Plane") stops
// the load, keeping what was built before it.
TEST_F(RtsSceneFileTest, LoadStopsAtTheFirstFailureAndKeepsWhatItBuilt) {
    test::writeFile(dir / "scene.rts", R"([RTSData]
RTSVersion=1
[SceneNodes]
NumSceneNodes=3
SN00Name=a
SN00MeshCount=1
SN00Mesh00Name=one
SN01Name=a
SN02Name=b
SN02MeshCount=2
SN02Mesh00Name=Prefab_Plane
SN02Mesh01Name=two
[Mesh:one]
Bounds=0 0 0 1 1 0
NumSubMeshes=1
SM00UseSharedVertices=0
SM00VertexCount=3
SM00V00000=0 0 0 0 0 1 0 0
SM00V00001=1 0 0 0 0 1 1 0
SM00V00002=0 1 0 0 0 1 0 1
SM00FaceCount=1
SM00F00000=0 1 2
)");
    EXPECT_EQ(loadRtsFile(state, (dir / "scene.rts").string()).error(),
              "ERR: Mesh name \"Prefab_Plane\" is already in use.");
    EXPECT_EQ(nodeNames(), (std::vector<std::string>{"a", "a0", "b"}));
    EXPECT_EQ(state.sceneManager->getEntity("one")->getMesh()->getBounds().getMaximum(),
              Ogre::Vector3(1, 1, 0));
    EXPECT_EQ(rootChildNamed(state, "b")->numAttachedObjects(), 0u);
    EXPECT_EQ(frames, 3);
}

// The checks of a submesh material assignment, for objects a load does not make itself.
TEST_F(RtsSceneFileTest, SubmeshMaterialsGoOnlyToEntitiesWithSubmeshes) {
    Ogre::SceneNode* node = state.sceneManager->getRootSceneNode()->createChildSceneNode("n");
    Ogre::MeshManager::getSingleton().createManual("empty", "MSH")->load();
    node->attachObject(state.sceneManager->createEntity("hollow", "empty"));
    node->attachObject(state.sceneManager->createLight("lamp"));
    EXPECT_EQ(assignRtsSubMeshMaterial(*node, "lamp", 0, "BaseWhite").error(),
              "ERR: Failed Entity sanity check in submesh material assignment.");
    EXPECT_EQ(assignRtsSubMeshMaterial(*node, "hollow", 0, "BaseWhite").error(),
              "ERR: Failed submesh count sanity test in submesh material assignment.");
    EXPECT_TRUE(assignRtsSubMeshMaterial(*node, "absent", 0, "BaseWhite"));
}

}  // namespace
}  // namespace verada
