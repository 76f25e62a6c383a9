#include "engine/scene/view_framing.h"

#include <algorithm>
#include <cmath>

#include <OgreCamera.h>
#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <gtest/gtest.h>

#include "engine/engine_setup.h"
#include "engine/mesh/model_loader.h"
#include "engine/scene/scene_nodes.h"
#include "formats/model/model_format.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

constexpr const char* kTeapot = "gmdc/teapot_model.extracted.5gd";
constexpr const char* kMegamouth = "gmdl/Megamouth.gmdl";

// Where models stand in the world: a sample's positions as its reader returns them, moved
// and scaled as its node is.
struct Placed {
    const char* sample;
    Ogre::Vector3 offset;
    float scale;
};

struct Sphere {
    Ogre::Vector3 centre;
    float radius;
};

// Centred on the box around the positions, reaching the farthest of them.
Sphere sphereAround(const std::vector<Placed>& models) {
    std::vector<Ogre::Vector3> points;
    for (const Placed& model : models) {
        Result<ImportedModel> read = readModelFile(test::samplePath(model.sample).string());
        EXPECT_TRUE(read) << read.error();
        for (const ModelGroup& group : read->groups) {
            for (std::size_t i = 0; i + 2 < group.positions.size(); i += 3) {
                Ogre::Vector3 p(group.positions[i], group.positions[i + 1], group.positions[i + 2]);
                points.push_back(p * model.scale + model.offset);
            }
        }
    }
    Ogre::AxisAlignedBox box;
    for (const Ogre::Vector3& p : points) {
        box.merge(p);
    }
    Sphere sphere{box.getCenter(), 0.0f};
    for (const Ogre::Vector3& p : points) {
        sphere.radius = std::max(sphere.radius, p.distance(sphere.centre));
    }
    return sphere;
}

class ViewFramingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.sceneManager = ogre.freshSceneManager();
        createGroundPlane(*state.sceneManager);
        createBackgroundPlane(*state.sceneManager, 8);
        state.camera = createCamera(*state.sceneManager, state.viewSettings);
        state.camera->setAspectRatio(4.0f / 3.0f);
    }
    void TearDown() override {
        state.sceneManager->clearScene();
        Ogre::MeshManager::getSingleton().removeAll();
    }

    Ogre::SceneNode* add(const Placed& model) {
        std::vector<AddedModel> added =
            addModelFileAsNewNodes(state, test::samplePath(model.sample).string());
        EXPECT_TRUE(added.size() == 1 && added[0].built) << model.sample;
        Ogre::SceneNode* node = modelNodes(state).back();
        node->setPosition(model.offset);
        node->setScale(model.scale, model.scale, model.scale);
        return node;
    }

    // The camera must stand on the view axis through the sphere's centre, at the distance from
    // which the sphere's outline fills 80 % of the view's height; a model pushed back beyond
    // that distance is seen from just in front of z = 0, smaller.
    void expectFramed(const std::vector<Placed>& models, bool pushedBack = false) {
        Sphere sphere = sphereAround(models);
        const ViewSettings& view = state.viewSettings;
        EXPECT_NEAR(view.cameraXPos, sphere.centre.x, 1e-3f);
        EXPECT_NEAR(view.cameraLookX, sphere.centre.x, 1e-3f);
        EXPECT_NEAR(view.cameraYPos, sphere.centre.y, 1e-3f);
        EXPECT_NEAR(view.cameraLookY, sphere.centre.y, 1e-3f);
        Ogre::Vector3 eye = state.camera->getDerivedPosition();
        EXPECT_NEAR(eye.distance({sphere.centre.x, sphere.centre.y, view.cameraDist}), 0.0f, 1e-3f);
        EXPECT_NEAR(state.camera->getDerivedDirection().z, -1.0f, 1e-5f);
        float distance = eye.distance(sphere.centre);
        float outline = std::tan(std::asin(sphere.radius / distance));
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
    const Placed teapot{kTeapot, {0, 0, 0}, 1};
    const Placed shark{kMegamouth, {30, 0, -1}, 1};
    const Placed sharkPushedBack{kMegamouth, {30, 0, -6}, 1};

    Ogre::SceneNode* teapotNode = add(teapot);
    ASSERT_TRUE(frameView(state));
    expectFramed({teapot});

    Ogre::SceneNode* sharkNode = add(shark);
    state.selectedNodeName = sharkNode->getName();
    ASSERT_TRUE(frameView(state));
    expectFramed({shark});
    sharkNode->setPosition(sharkPushedBack.offset);
    ASSERT_TRUE(frameView(state));
    expectFramed({sharkPushedBack}, true);
    sharkNode->setPosition(shark.offset);

    state.selectedNodeName.clear();
    ASSERT_TRUE(frameView(state));
    expectFramed({teapot, shark});

    teapotNode->flipVisibility();
    ASSERT_TRUE(frameView(state));
    expectFramed({shark});
}

TEST_F(ViewFramingTest, NarrowViewsStandFurtherBackAndTheZoomLimitsDoNotApply) {
    state.viewSettings.cameraFovY = 20;
    state.camera->setFOVy(Ogre::Degree(20));
    const Placed huge{kTeapot, {0, 0, 0}, 40};
    add(huge);
    ASSERT_TRUE(frameView(state));
    expectFramed({huge});
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
    add({kMegamouth, {0, 0, 0}, 1})->flipVisibility();
    unchanged("every model hidden");
}

}  // namespace
}  // namespace verada
