#include "engine/scene/view_framing.h"

#include <cmath>

#include <OgreCamera.h>
#include <OgreMeshManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <gtest/gtest.h>

#include "engine/engine_setup.h"
#include "engine/mesh/model_loader.h"
#include "engine/scene/scene_nodes.h"
#include "engine/scene/view_control.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

// The samples' bounds as their readers report them (verada info).
const Ogre::AxisAlignedBox kTeapot({-2, 0, -3}, {2, 3.15f, 3.434f});
const Ogre::AxisAlignedBox kMegamouth({-0.545897f, -0.452812f, -0.984945f},
                                      {0.546389f, 0.0710938f, 0.580518f});

class ViewFramingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.sceneManager = ogre.freshSceneManager();
        Ogre::ResourceGroupManager::getSingleton().createResourceGroup("MSH");
        createGroundPlane(*state.sceneManager);
        createBackgroundPlane(*state.sceneManager, 8);
        state.camera = createCamera(*state.sceneManager, state.viewSettings);
        state.camera->setAspectRatio(4.0f / 3.0f);
    }
    void TearDown() override {
        state.sceneManager->clearScene();
        Ogre::MeshManager::getSingleton().removeAll();
    }

    Ogre::SceneNode* add(const std::string& sample, const Ogre::Vector3& at = {0, 0, 0}) {
        Result<BuiltMesh> added = addModelFileAsNewNode(state, test::samplePath(sample).string());
        EXPECT_TRUE(added) << added.error();
        Ogre::SceneNode* node = modelNodes(state).back();
        node->setPosition(at);
        return node;
    }

    // The camera must stand on the view axis through the sphere's centre, at the distance from
    // which the sphere's outline fills 80 % of the view's height.
    // A model pushed back beyond its framing distance is seen from just in front of z = 0, at
    // most at that size.
    void expectFramed(const Ogre::AxisAlignedBox& box, const Ogre::Vector3& offset,
                      bool pushedBack = false) {
        Ogre::Vector3 centre = box.getCenter() + offset;
        float radius = box.getHalfSize().length();
        const ViewSettings& view = state.viewSettings;
        EXPECT_NEAR(view.cameraXPos, centre.x, 1e-3f);
        EXPECT_NEAR(view.cameraLookX, centre.x, 1e-3f);
        EXPECT_NEAR(view.cameraYPos, centre.y, 1e-3f);
        EXPECT_NEAR(view.cameraLookY, centre.y, 1e-3f);
        Ogre::Vector3 eye = state.camera->getDerivedPosition();
        EXPECT_NEAR(eye.distance({centre.x, centre.y, view.cameraDist}), 0.0f, 1e-3f);
        EXPECT_NEAR(state.camera->getDerivedDirection().z, -1.0f, 1e-5f);
        float distance = eye.distance(centre);
        float outline = std::tan(std::asin(radius / distance));
        float halfView = std::tan(state.camera->getFOVy().valueRadians() / 2);
        if (pushedBack) {
            EXPECT_LT(outline / halfView, 0.8f);
            EXPECT_GT(view.cameraDist, 0.0f);
            EXPECT_LT(view.cameraDist, 0.1f);
        } else {
            EXPECT_NEAR(outline / halfView, 0.8f, 1e-3f);
        }
        EXPECT_FLOAT_EQ(view.cameraNearClip, std::max(0.01f, distance / 100));
        EXPECT_FLOAT_EQ(state.camera->getNearClipDistance(), view.cameraNearClip);
    }

    test::HeadlessOgre ogre;
    AppState state;
};

TEST_F(ViewFramingTest, FramesTheSelectionOrElseEveryVisibleModel) {
    Ogre::SceneNode* teapot = add("gmdc/teapot_model.extracted.5gd");
    ASSERT_TRUE(frameView(state));
    expectFramed(kTeapot, {0, 0, 0});

    Ogre::Vector3 aside(30, 0, -1);
    Ogre::SceneNode* shark = add("gmdl/Megamouth.gmdl", aside);
    state.selectedNodeName = shark->getName();
    ASSERT_TRUE(frameView(state));
    expectFramed(kMegamouth, aside);
    shark->setPosition(aside + Ogre::Vector3(0, 0, -5));
    ASSERT_TRUE(frameView(state));
    expectFramed(kMegamouth, aside + Ogre::Vector3(0, 0, -5), true);
    shark->setPosition(aside);

    state.selectedNodeName.clear();
    ASSERT_TRUE(frameView(state));
    Ogre::AxisAlignedBox both = kTeapot;
    both.merge(
        Ogre::AxisAlignedBox(kMegamouth.getMinimum() + aside, kMegamouth.getMaximum() + aside));
    expectFramed(both, {0, 0, 0});

    teapot->flipVisibility();
    ASSERT_TRUE(frameView(state));
    expectFramed(kMegamouth, aside);
}

TEST_F(ViewFramingTest, NarrowViewsStandFurtherBackAndTheZoomLimitsDoNotApply) {
    state.viewSettings.cameraFovY = 20;
    state.camera->setFOVy(Ogre::Degree(20));
    add("gmdc/teapot_model.extracted.5gd")->setScale(40, 40, 40);
    ASSERT_TRUE(frameView(state));
    Ogre::AxisAlignedBox scaled(kTeapot.getMinimum() * 40, kTeapot.getMaximum() * 40);
    expectFramed(scaled, {0, 0, 0});
    EXPECT_GT(state.viewSettings.cameraDist, 200.0f);
}

TEST_F(ViewFramingTest, NothingToFrameChangesNothing) {
    state.viewSettings.cameraXPos = 3;
    state.viewSettings.cameraNearClip = 0.5f;
    const ViewSettings before = state.viewSettings;
    Ogre::Vector3 eye = state.camera->getDerivedPosition();
    auto unchanged = [&](const char* what) {
        EXPECT_FALSE(frameView(state)) << what;
        EXPECT_EQ(state.viewSettings.cameraXPos, before.cameraXPos) << what;
        EXPECT_EQ(state.viewSettings.cameraDist, before.cameraDist) << what;
        EXPECT_EQ(state.viewSettings.cameraNearClip, before.cameraNearClip) << what;
        EXPECT_EQ(state.camera->getDerivedPosition(), eye) << what;
    };
    unchanged("only the floor and the backdrop");
    add("gmdl/Megamouth.gmdl")->flipVisibility();
    unchanged("every model hidden");
}

TEST_F(ViewFramingTest, LaterCameraCommandsGoOnFromTheFramedView) {
    add("gmdl/Megamouth.gmdl");
    ASSERT_TRUE(frameView(state));
    const ViewSettings framed = state.viewSettings;
    panCamera(state, 4, -2);
    EXPECT_FLOAT_EQ(state.viewSettings.cameraXPos, framed.cameraXPos + 0.2f);
    EXPECT_FLOAT_EQ(state.viewSettings.cameraLookY, framed.cameraLookY - 0.1f);
    EXPECT_FLOAT_EQ(state.viewSettings.cameraDist, framed.cameraDist);
    zoomCamera(state, 1);
    EXPECT_FLOAT_EQ(state.viewSettings.cameraDist, std::max(1.0f, framed.cameraDist + 0.05f));
}

}  // namespace
}  // namespace verada
