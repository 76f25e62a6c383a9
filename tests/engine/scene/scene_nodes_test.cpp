#include "engine/scene/scene_nodes.h"

#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreLight.h>
#include <OgreLog.h>
#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSubEntity.h>
#include <OgreSubMesh.h>
#include <gtest/gtest.h>

#include "engine/mesh/mesh_builder.h"
#include "engine/scene/view_control.h"
#include "tests/support/fake_platform.h"
#include "tests/support/headless_ogre.h"

namespace verada {
namespace {

class LogLines : public Ogre::LogListener {
  public:
    void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel level, bool,
                       const Ogre::String&, bool&) override {
        if (level == Ogre::LML_NORMAL) {
            lines.push_back(message);
        }
    }
    std::vector<std::string> lines;
};

// A model of the given number of unit-square groups, built as the loaders build it.
std::string buildSquares(const std::string& fileName, int groups) {
    ImportedModel model;
    for (int g = 0; g < groups; ++g) {
        ModelGroup group;
        group.name = "group" + std::to_string(g);
        group.positions = {-0.5f, -0.5f, 0, 0.5f, -0.5f, 0, 0.5f, 0.5f, 0, -0.5f, 0.5f, 0};
        group.normals = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
        group.uvs = {0, 1, 1, 1, 1, 0, 0, 0};
        group.faces = {0, 1, 2, 0, 2, 3};
        group.boundsMin = {-0.5f, -0.5f, 0};
        group.boundsMax = {0.5f, 0.5f, 0};
        model.groups.push_back(std::move(group));
    }
    return buildMeshFromModel(model, fileName).name;
}

class SceneNodesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.platform = &platform;
        state.sceneManager = ogre.freshSceneManager();
        Ogre::LogManager::getSingleton().getDefaultLog()->addListener(&log);
    }
    void TearDown() override {
        Ogre::LogManager::getSingleton().getDefaultLog()->removeListener(&log);
        state.sceneManager->clearScene();
        Ogre::MeshManager::getSingleton().removeAll();
    }

    Ogre::SceneNode* root() { return state.sceneManager->getRootSceneNode(); }

    // A root child named name showing a model of the given number of square groups.
    Ogre::SceneNode* addModelNode(const std::string& name, int groups = 1) {
        std::string meshName = buildSquares(name + ".gmdl", groups);
        Ogre::SceneNode* node = root()->createChildSceneNode(name);
        node->attachObject(state.sceneManager->createEntity(meshName, meshName));
        return node;
    }

    void addFloorAndBackdrop() {
        Ogre::SceneNode* floor = root()->createChildSceneNode("groundplane");
        floor->attachObject(
            state.sceneManager->createEntity("groundplane", Ogre::SceneManager::PT_PLANE));
        floor->pitch(Ogre::Degree(-90));
        Ogre::SceneNode* backdrop = root()->createChildSceneNode("background");
        backdrop->attachObject(
            state.sceneManager->createEntity("background", Ogre::SceneManager::PT_PLANE));
        backdrop->setPosition(0, 0, -8);
    }

    test::HeadlessOgre ogre;
    test::FakePlatform platform;
    AppState state;
    LogLines log;
};

TEST_F(SceneNodesTest, ListingStopsAt128NamesInChildOrder) {
    addFloorAndBackdrop();
    for (int n = 0; n < 128; ++n) {
        root()->createChildSceneNode("node" + std::to_string(n));
    }
    NameList names = listSceneNodes(state);
    ASSERT_EQ(names.size(), 128);
    EXPECT_EQ(names[0], "groundplane");
    EXPECT_EQ(names[1], "background");
    EXPECT_EQ(names[2], "node0");
    EXPECT_EQ(names[127], "node125");
}

TEST_F(SceneNodesTest, LongNodeNamesAreCutTo255Characters) {
    root()->createChildSceneNode(std::string(300, 'n'));
    NameList names = listSceneNodes(state);
    ASSERT_EQ(names.size(), 1);
    EXPECT_EQ(names[0], std::string(255, 'n'));
}

TEST_F(SceneNodesTest, TogglingTheSelectedNodeHidesItAndDropsTheSelection) {
    Ogre::SceneNode* shark = addModelNode("shark");
    Ogre::SceneNode* ray = addModelNode("ray");
    state.selectedNodeName = "shark";
    shark->showBoundingBox(true);

    EXPECT_EQ(toggleNodeVisibility(state, "ray"), 1);
    EXPECT_FALSE(nodeHasVisibleObject(*ray));
    EXPECT_EQ(state.selectedNodeName, "shark");

    EXPECT_EQ(toggleNodeVisibility(state, "shark"), 1);
    EXPECT_FALSE(nodeHasVisibleObject(*shark));
    EXPECT_FALSE(shark->getShowBoundingBox());
    EXPECT_EQ(state.selectedNodeName, "");

    EXPECT_EQ(toggleNodeVisibility(state, "shark"), 1);
    EXPECT_TRUE(nodeHasVisibleObject(*shark));
    EXPECT_EQ(state.selectedNodeName, "");
    EXPECT_EQ(toggleNodeVisibility(state, "nowhere"), 0);
}

TEST_F(SceneNodesTest, NodeWithoutObjectsHasNothingVisible) {
    EXPECT_FALSE(nodeHasVisibleObject(*root()->createChildSceneNode("empty")));
}

TEST_F(SceneNodesTest, ScaleIsReadFromTheSelectionAndAppliedByName) {
    NodeScaleRecord record = readSelectedNodeScale(state);
    EXPECT_EQ(record.nodeName, "");
    EXPECT_EQ(record.x, 0.0f);
    EXPECT_EQ(record.z, 0.0f);

    Ogre::SceneNode* shark = addModelNode("shark");
    shark->setScale(1, 2, 3);
    state.selectedNodeName = "shark";
    record = readSelectedNodeScale(state);
    EXPECT_EQ(record.nodeName, "shark");
    EXPECT_EQ(record.y, 2.0f);
    EXPECT_EQ(record.z, 3.0f);

    record.x = 0.5f;
    applyNodeScale(state, record);
    EXPECT_EQ(shark->getScale(), Ogre::Vector3(0.5f, 2, 3));
    applyNodeScale(state, NodeScaleRecord{"nowhere", 1, 1, 1});
    EXPECT_EQ(shark->getScale(), Ogre::Vector3(0.5f, 2, 3));
}

TEST_F(SceneNodesTest, ResetKeepsTheScale) {
    Ogre::SceneNode* shark = addModelNode("shark");
    shark->setScale(2, 2, 2);
    shark->setPosition(1, 2, 3);
    shark->yaw(Ogre::Degree(30));
    state.selectedNodeName = "shark";
    resetSelectedNode(state);
    EXPECT_EQ(shark->getPosition(), Ogre::Vector3::ZERO);
    EXPECT_EQ(shark->getOrientation(), Ogre::Quaternion::IDENTITY);
    EXPECT_EQ(shark->getScale(), Ogre::Vector3(2, 2, 2));
}

TEST_F(SceneNodesTest, DirectManipulationUsesItsFactors) {
    Ogre::SceneNode* shark = addModelNode("shark");
    state.selectedNodeName = "shark";
    moveSelectedNode(state, 10, -20);
    EXPECT_TRUE(shark->getPosition().positionEquals(Ogre::Vector3(0.5f, -1.0f, 0), 1e-6f));
    moveSelectedNodeDepth(state, 16);
    moveSelectedNodeDepth(state, -1);
    EXPECT_TRUE(shark->getPosition().positionEquals(Ogre::Vector3(0.5f, -1.0f, 0.75f), 1e-6f));

    // 360 pixels turn by 90 degrees; 1800 pixels roll by 90 degrees.
    turnSelectedNode(state, 360, 0);
    EXPECT_TRUE(shark->getOrientation().equals(
        Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_Y), Ogre::Degree(0.01f)));
    resetSelectedNode(state);
    turnSelectedNode(state, 0, 360);
    EXPECT_TRUE(shark->getOrientation().equals(
        Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_X), Ogre::Degree(0.01f)));
    resetSelectedNode(state);
    rollSelectedNode(state, 1800);
    EXPECT_TRUE(shark->getOrientation().equals(
        Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_Z), Ogre::Degree(0.01f)));
}

TEST_F(SceneNodesTest, ManipulationWithoutSelectionChangesNothing) {
    Ogre::SceneNode* shark = addModelNode("shark");
    shark->setPosition(1, 1, 1);
    state.selectedNodeName = "gone";
    moveSelectedNode(state, 10, 10);
    moveSelectedNodeDepth(state, 10);
    turnSelectedNode(state, 10, 10);
    rollSelectedNode(state, 10);
    resetSelectedNode(state);
    EXPECT_EQ(shark->getPosition(), Ogre::Vector3(1, 1, 1));
    EXPECT_EQ(shark->getOrientation(), Ogre::Quaternion::IDENTITY);
}

class PickingTest : public SceneNodesTest {
  protected:
    void SetUp() override {
        SceneNodesTest::SetUp();
        addFloorAndBackdrop();
        state.camera = state.sceneManager->createCamera("PlayerCam");
        state.camera->setNearClipDistance(0.1f);
        state.camera->setAspectRatio(4.0f / 3.0f);
        state.viewSettings.cameraYPos = 1;
        state.viewSettings.cameraDist = 10;
        state.viewSettings.cameraLookY = 1;
        applyCamera(state);
        state.clientRect = {0, 0, 800, 600};
    }
};

TEST_F(PickingTest, HiddenModelInFrontIsPassedOver) {
    Ogre::SceneNode* back = addModelNode("back");
    back->setPosition(0, 1, 0);
    Ogre::SceneNode* front = addModelNode("front");
    front->setPosition(0, 1, 3);
    front->setVisible(false);

    pickNodeAt(state, 400, 300);
    EXPECT_EQ(state.selectedNodeName, "back");
    EXPECT_TRUE(back->getShowBoundingBox());

    front->setVisible(true);
    pickNodeAt(state, 400, 300);
    EXPECT_EQ(state.selectedNodeName, "front");
    EXPECT_TRUE(front->getShowBoundingBox());
    EXPECT_FALSE(back->getShowBoundingBox());
}

TEST_F(PickingTest, ClickOnTheFloorOrBackdropClearsTheSelection) {
    Ogre::SceneNode* model = addModelNode("model");
    model->setPosition(0, 1, 0);
    pickNodeAt(state, 400, 300);
    ASSERT_EQ(state.selectedNodeName, "model");

    pickNodeAt(state, 400, 590);  // below the model: only the floor
    EXPECT_EQ(state.selectedNodeName, "");
    EXPECT_FALSE(model->getShowBoundingBox());

    pickNodeAt(state, 400, 300);
    pickNodeAt(state, 20, 20);  // upper corner: only the backdrop
    EXPECT_EQ(state.selectedNodeName, "");
}

TEST_F(PickingTest, MovedModelIsFoundWithoutARenderedFrame) {
    Ogre::SceneNode* model = addModelNode("model");
    model->setPosition(0, 1, 0);
    pickNodeAt(state, 400, 300);
    model->setPosition(3, 1, 0);
    pickNodeAt(state, 400, 300);
    EXPECT_EQ(state.selectedNodeName, "");
}

TEST_F(PickingTest, WindowWithoutAreaPicksNothing) {
    addModelNode("model")->setPosition(0, 1, 0);
    state.selectedNodeName = "model";
    state.clientRect = {0, 0, 0, 0};
    pickNodeAt(state, 0, 0);
    EXPECT_EQ(state.selectedNodeName, "");
}

TEST_F(SceneNodesTest, RemoveAllFreesVertexDataAndClearsTheScene) {
    addFloorAndBackdrop();
    Ogre::SceneNode* model = addModelNode("model", 3);
    Ogre::MeshPtr mesh = state.sceneManager->getEntity("model")->getMesh();
    model->attachObject(state.sceneManager->createLight("lamp"));
    state.viewSettings.lightDiffuseColor = {0.25f, 0.5f, 0.75f};
    log.lines.clear();

    removeAllNodes(state);
    // 3 model submeshes plus one each for the floor and the backdrop.
    // The engine logs its own lines about the resource group in between.
    ASSERT_GE(log.lines.size(), 2u);
    EXPECT_EQ(log.lines.front(), "Deleted 5 VertexData buffers.");
    EXPECT_EQ(log.lines.back(), "SceneMgr->clearScene()");
    EXPECT_EQ(mesh->getSubMesh(0)->vertexData, nullptr);
    EXPECT_EQ(root()->numChildren(), 0u);
    EXPECT_FALSE(state.sceneManager->hasSceneNode("groundplane"));
    EXPECT_FALSE(Ogre::MeshManager::getSingleton().resourceExists("model", "MSH"));
    mesh.reset();
    EXPECT_EQ(listSceneNodes(state).size(), 0);
    // Only the scene's own light is back, as the view settings say.
    EXPECT_FALSE(state.sceneManager->hasLight("lamp"));
    ASSERT_TRUE(state.sceneManager->hasLight("Light1"));
    EXPECT_EQ(state.sceneManager->getLight("Light1")->getDiffuseColour(),
              Ogre::ColourValue(0.25f, 0.5f, 0.75f));
}

TEST_F(SceneNodesTest, SharedVertexDataIsCountedButNotFreed) {
    addFloorAndBackdrop();
    Ogre::MeshPtr plane = state.sceneManager->getEntity("groundplane")->getMesh();
    log.lines.clear();
    releaseMeshVertexData(state);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Deleted 2 VertexData buffers."}));
    EXPECT_NE(plane->sharedVertexData, nullptr);
}

}  // namespace
}  // namespace verada
