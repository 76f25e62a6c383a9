#include <cstdlib>
#include <filesystem>

#include <OgreCamera.h>
#include <OgreColourValue.h>
#include <OgreEntity.h>
#include <OgreImage.h>
#include <OgrePixelFormat.h>
#include <OgreRenderWindow.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <gtest/gtest.h>
#include <QApplication>

#include "engine/mesh/mesh_builder.h"
#include "engine/scene/scene_nodes.h"
#include "engine/scene/view_control.h"
#include "tests/support/viewer_fixture.h"
#include "ui/viewer_session.h"

namespace verada {
namespace {

// A unit cube with outward normals, standing on the floor at the origin.
ImportedModel cubeModel() {
    ModelGroup group;
    group.name = "cube";
    const float faces[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const auto& n : faces) {
        Ogre::Vector3 normal(n[0], n[1], n[2]);
        Ogre::Vector3 u = normal.perpendicular();
        Ogre::Vector3 v = normal.crossProduct(u);
        auto base = static_cast<std::uint16_t>(group.positions.size() / 3);
        const int corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& [a, b] : corners) {
            Ogre::Vector3 corner = 0.5f * (normal + u * a + v * b) + Ogre::Vector3(0, 0.5f, 0);
            group.positions.insert(group.positions.end(), {corner.x, corner.y, corner.z});
            group.normals.insert(group.normals.end(), {normal.x, normal.y, normal.z});
            group.uvs.insert(group.uvs.end(), {0.0f, 0.0f});
        }
        // Counter-clockwise seen from outside whichever way u and v turn.
        bool outward = u.crossProduct(v).dotProduct(normal) > 0;
        const std::uint16_t ccw[6] = {0, 1, 2, 0, 2, 3};
        const std::uint16_t cw[6] = {0, 2, 1, 0, 3, 2};
        for (std::uint16_t i : outward ? ccw : cw) {
            group.faces.push_back(static_cast<std::uint16_t>(base + i));
        }
    }
    group.boundsMin = {-0.5f, 0, -0.5f};
    group.boundsMax = {0.5f, 1, 0.5f};
    ImportedModel model;
    model.groups.push_back(std::move(group));
    return model;
}

// The real main window and engine, driven through the scene operations.
class SceneView : public test::ViewerFixture {
  protected:
    void SetUp() override {
        test::ViewerFixture::SetUp();
        startSession();
    }
};

TEST_F(SceneView, ModelShowsLitAndIsPickedMovedScaledAndHidden) {
    const Ogre::Vector3 cubeFront(0, 0.5f, 0.5f);
    std::pair<int, int> onCube = project(cubeFront);
    std::pair<int, int> onFloor = project(Ogre::Vector3(1.2f, 0, 0));
    Ogre::ColourValue empty = pixelAt(onCube);

    std::string mesh = buildMeshFromModel(cubeModel(), "cube.gmdl").name;
    Ogre::SceneNode* node = state().sceneManager->getRootSceneNode()->createChildSceneNode("cube");
    node->attachObject(state().sceneManager->createEntity(mesh, mesh));
    Ogre::ColourValue lit = pixelAt(onCube);
    EXPECT_GT(distance(lit, empty), 0.1f);
    EXPECT_GT(lit.r + lit.g + lit.b, 0.3f);  // the front face faces the light

    pickNodeAt(state(), onCube.first, onCube.second);
    EXPECT_EQ(state().selectedNodeName, "cube");
    EXPECT_TRUE(node->getShowBoundingBox());
    pickNodeAt(state(), onFloor.first, onFloor.second);
    EXPECT_EQ(state().selectedNodeName, "");

    // Moving the selection to the side uncovers the background there.
    pickNodeAt(state(), onCube.first, onCube.second);
    moveSelectedNode(state(), 20, 0);
    EXPECT_NEAR(node->getPosition().x, 1.0f, 1e-5f);
    EXPECT_LT(distance(pixelAt(onCube), empty), 0.05f);
    EXPECT_GT(distance(pixelAt(project(cubeFront + Ogre::Vector3(1, 0, 0))), empty), 0.1f);
    resetSelectedNode(state());

    NodeScaleRecord tiny{"cube", 0.01f, 0.01f, 0.01f};
    applyNodeScale(state(), tiny);
    EXPECT_LT(distance(pixelAt(onCube), empty), 0.05f);
    applyNodeScale(state(), NodeScaleRecord{"cube", 1, 1, 1});
    EXPECT_GT(distance(pixelAt(onCube), empty), 0.1f);

    toggleNodeVisibility(state(), "cube");
    EXPECT_LT(distance(pixelAt(onCube), empty), 0.05f);
    toggleNodeVisibility(state(), "cube");
    EXPECT_GT(distance(pixelAt(onCube), empty), 0.1f);

    // Orbiting turns the view: the cube's front now shows elsewhere.
    orbitCamera(state(), 400, 0);
    std::pair<int, int> turned = project(cubeFront);
    EXPECT_GT(std::abs(turned.first - onCube.first), 20);
    EXPECT_GT(distance(pixelAt(turned), empty), 0.1f);

    removeAllNodes(state());
    EXPECT_EQ(listSceneNodes(state()).size(), 0);
}

}  // namespace
}  // namespace verada
