#include "engine/scene/view_control.h"

#include <cmath>

#include <OgreCamera.h>
#include <OgreSceneManager.h>
#include <gtest/gtest.h>

#include "tests/support/headless_ogre.h"

namespace verada {
namespace {

constexpr float kTolerance = 1e-5f;

class ViewControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.sceneManager = ogre.freshSceneManager();
        state.camera = state.sceneManager->createCamera("PlayerCam");
    }

    Ogre::Vector3 cameraPosition() const { return state.camera->getDerivedPosition(); }

    // Where the camera looks at depth z = 0.
    Ogre::Vector3 lookedAt() const {
        Ogre::Vector3 from = state.camera->getDerivedPosition();
        Ogre::Vector3 direction = state.camera->getDerivedDirection();
        return from + direction * (-from.z / direction.z);
    }

    void expectNear(const Ogre::Vector3& actual, const Ogre::Vector3& expected) {
        EXPECT_NEAR(actual.x, expected.x, kTolerance);
        EXPECT_NEAR(actual.y, expected.y, kTolerance);
        EXPECT_NEAR(actual.z, expected.z, kTolerance);
    }

    test::HeadlessOgre ogre;
    AppState state;
};

TEST_F(ViewControlTest, ApplyPlacesTheCameraFromTheViewSettings) {
    state.viewSettings.cameraXPos = 1;
    state.viewSettings.cameraYPos = 2;
    state.viewSettings.cameraDist = 5;
    state.viewSettings.cameraLookX = -1;
    state.viewSettings.cameraLookY = 0.5f;
    applyCamera(state);
    expectNear(cameraPosition(), {1, 2, 5});
    expectNear(lookedAt(), {-1, 0.5f, 0});
}

TEST_F(ViewControlTest, ResetKeepsTheOrbitAngles) {
    state.viewSettings.cameraXPos = 4;
    state.viewSettings.cameraLookX = 3;
    state.viewSettings.cameraDist = 50;
    state.viewSettings.cameraNearClip = 0.5f;
    state.orbitYaw = 12;
    state.orbitPitch = -3;
    resetCamera(state);
    const ViewSettings& view = state.viewSettings;
    EXPECT_EQ(view.cameraXPos, 0.0f);
    EXPECT_EQ(view.cameraLookX, 0.0f);
    EXPECT_EQ(view.cameraYPos, 1.0f);
    EXPECT_EQ(view.cameraLookY, 1.0f);
    EXPECT_EQ(view.cameraDist, 2.0f);
    EXPECT_EQ(view.cameraNearClip, 0.5f);
    EXPECT_EQ(state.orbitYaw, 12.0f);
    EXPECT_EQ(state.orbitPitch, -3.0f);
    expectNear(cameraPosition(), {0, 1, 2});
    expectNear(lookedAt(), {0, 1, 0});
}

TEST_F(ViewControlTest, PanMovesCameraAndLookAtTogether) {
    panCamera(state, 10, -20);
    const ViewSettings& view = state.viewSettings;
    EXPECT_FLOAT_EQ(view.cameraXPos, 0.5f);
    EXPECT_FLOAT_EQ(view.cameraLookX, 0.5f);
    EXPECT_FLOAT_EQ(view.cameraYPos, 0.0f);
    EXPECT_FLOAT_EQ(view.cameraLookY, -0.3f);
    expectNear(cameraPosition(), {0.5f, 0, 2});
    expectNear(lookedAt(), {0.5f, -0.3f, 0});
}

TEST_F(ViewControlTest, ZoomIsClampedBetween1And200) {
    struct Case {
        float start;
        float step;
        float expected;
    };
    const Case cases[] = {{2, 1, 2.05f},     {2, -16, 1.2f},    {2, -100, 1},   {1, -1, 1},
                          {199, 16, 199.8f}, {199.9f, 16, 200}, {2, 10000, 200}};
    for (const Case& c : cases) {
        state.viewSettings.cameraDist = c.start;
        zoomCamera(state, c.step);
        EXPECT_FLOAT_EQ(state.viewSettings.cameraDist, c.expected) << c.start << " " << c.step;
        EXPECT_NEAR(cameraPosition().z, c.expected, kTolerance);
    }
}

TEST_F(ViewControlTest, ManyZoomStepsStopAtTheLimits) {
    for (int step = 0; step < 100; ++step) {
        zoomCamera(state, -1);
    }
    EXPECT_EQ(state.viewSettings.cameraDist, 1.0f);
    for (int step = 0; step < 300; ++step) {
        zoomCamera(state, 16);
    }
    EXPECT_EQ(state.viewSettings.cameraDist, 200.0f);
}

TEST_F(ViewControlTest, FirstOrbitStepStartsFromTheLookAtHeight) {
    orbitCamera(state, 1, 0);
    EXPECT_EQ(state.orbitYaw, 0.125f);
    EXPECT_EQ(state.orbitPitch, 0.0f);
    float q = 0.125f / 57.2958f;
    expectNear(cameraPosition(), {-2 * std::sin(q), 0.7f, 2 * std::cos(q)});
    EXPECT_NEAR(state.viewSettings.cameraXPos, -2 * std::sin(q), kTolerance);
    EXPECT_NEAR(state.viewSettings.cameraYPos, 0.7f, kTolerance);
    EXPECT_EQ(state.viewSettings.cameraDist, 2.0f);
    expectNear(lookedAt(), {0, 0.7f, 0});
}

TEST_F(ViewControlTest, OrbitTurnsAboutYawThenPitch) {
    // 720 pixels each way: 90 degrees of yaw and of pitch.
    orbitCamera(state, 720, 720);
    EXPECT_EQ(state.orbitYaw, 90.0f);
    EXPECT_EQ(state.orbitPitch, 90.0f);
    // (0, 0.7, 2) turned about y by -90 gives (-2, 0.7, 0); about x by -90 then (-2, 0, -0.7).
    expectNear(cameraPosition(), {-2, 0, -0.7f});
    EXPECT_NEAR(state.viewSettings.cameraYPos, 0, kTolerance);
}

TEST_F(ViewControlTest, OrbitAnglesWrapOnThePositiveSideOnly) {
    orbitCamera(state, 2880, 0);
    EXPECT_EQ(state.orbitYaw, 0.0f);
    orbitCamera(state, -2880, 0);
    EXPECT_EQ(state.orbitYaw, -360.0f);
    orbitCamera(state, 0, 2880 + 8);
    EXPECT_EQ(state.orbitPitch, 1.0f);

    AppState stepwise;
    stepwise.camera = state.camera;
    for (int pixel = 0; pixel < 2880; ++pixel) {
        orbitCamera(stepwise, 1, 0);
    }
    EXPECT_EQ(stepwise.orbitYaw, 0.0f);
}

TEST_F(ViewControlTest, PanAfterOrbitReturnsToCameraDist) {
    orbitCamera(state, 100, 50);
    EXPECT_GT(std::abs(cameraPosition().z - 2.0f), 0.01f);
    panCamera(state, 0, 0);
    EXPECT_NEAR(cameraPosition().z, 2.0f, kTolerance);
}

TEST_F(ViewControlTest, ResetDoesNotUndoTheOrbit) {
    orbitCamera(state, 400, 0);
    Ogre::Vector3 turned = cameraPosition();
    resetCamera(state);
    state.viewSettings.cameraLookY = 0.7f;
    orbitCamera(state, 0, 0);
    expectNear(cameraPosition(), turned);
}

TEST_F(ViewControlTest, PolygonModesFollowTheKeys) {
    const std::pair<PolygonView, Ogre::PolygonMode> cases[] = {
        {PolygonView::Points, Ogre::PM_POINTS},
        {PolygonView::Wireframe, Ogre::PM_WIREFRAME},
        {PolygonView::Solid, Ogre::PM_SOLID}};
    for (const auto& [view, mode] : cases) {
        setPolygonMode(state, view);
        EXPECT_EQ(state.camera->getPolygonMode(), mode);
    }
}

}  // namespace
}  // namespace verada
