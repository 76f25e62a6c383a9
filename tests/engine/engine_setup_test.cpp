#include "engine/engine_setup.h"

#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreLight.h>
#include <OgreMaterialManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSubEntity.h>

#include <gtest/gtest.h>

#include "engine/scene/camera_placement.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

test::HeadlessOgre& ogre() {
    static test::HeadlessOgre instance;
    return instance;
}

void expectNear(const Ogre::Vector3& actual, const Ogre::Vector3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

Ogre::Vector3 lookedAtDirection(const Ogre::Camera& camera) {
    return camera.getDerivedOrientation() * Ogre::Vector3::NEGATIVE_UNIT_Z;
}

TEST(EngineSetup, LightAndCameraFollowTheViewSettings) {
    struct Case {
        float cameraDist;
        float lookY;
    } cases[] = {{2.0f, 0.7f}, {5.0f, 0.7f}, {5.0f, 3.0f}};
    for (const Case& c : cases) {
        Ogre::SceneManager* scene = ogre().freshSceneManager();
        ViewSettings view;
        view.lightPosition = {0.0f, 15.0f, 25.0f};
        view.lightDiffuseColor = {1.0f, 0.6f, 0.4f};
        view.lightSpecularColor = {1.0f, 0.4f, 0.6f};
        view.cameraDist = c.cameraDist;
        view.cameraLookY = c.lookY;
        createLight(*scene, view);
        Ogre::Camera* camera = createCamera(*scene, view);

        Ogre::Light* light = scene->getLight("Light1");
        EXPECT_EQ(light->getType(), Ogre::Light::LT_POINT);
        expectNear(lightPosition(*light), {0.0f, 15.0f, 25.0f});
        EXPECT_EQ(light->getDiffuseColour(), Ogre::ColourValue(1.0f, 0.6f, 0.4f));
        EXPECT_EQ(light->getSpecularColour(), Ogre::ColourValue(1.0f, 0.4f, 0.6f));

        EXPECT_EQ(camera->getName(), "PlayerCam");
        expectNear(cameraPosition(*camera), {0.0f, 1.0f, c.cameraDist});
        Ogre::Vector3 expected =
            (Ogre::Vector3(0.0f, c.lookY, -c.cameraDist) - Ogre::Vector3(0, 1, c.cameraDist))
                .normalisedCopy();
        expectNear(lookedAtDirection(*camera), expected);
        EXPECT_FLOAT_EQ(camera->getNearClipDistance(), 1.0f);
        EXPECT_NEAR(camera->getFOVy().valueDegrees(), 60.0f, 1e-4f);
    }
}

TEST(EngineSetup, PlanesAreRootChildrenWithTheirTransforms) {
    for (float shift : {8.0f, 0.0f}) {
        Ogre::SceneManager* scene = ogre().freshSceneManager();
        createGroundPlane(*scene);
        createBackgroundPlane(*scene, shift);
        Ogre::SceneNode* root = scene->getRootSceneNode();
        ASSERT_EQ(root->numChildren(), 2u);
        EXPECT_EQ(root->getChild(0)->getName(), "groundplane");
        EXPECT_EQ(root->getChild(1)->getName(), "background");

        Ogre::SceneNode* floor = scene->getSceneNode("groundplane");
        expectNear(floor->getPosition(), Ogre::Vector3::ZERO);
        // The prefab faces +z; the floor must face +y.
        expectNear(floor->getOrientation() * Ogre::Vector3::UNIT_Z, Ogre::Vector3::UNIT_Y);
        EXPECT_EQ(floor->getAttachedObject(0)->getName(), "groundplane");

        Ogre::SceneNode* backdrop = scene->getSceneNode("background");
        expectNear(backdrop->getPosition(), {0.0f, 0.0f, -shift});
        expectNear(backdrop->getOrientation() * Ogre::Vector3::UNIT_Z, Ogre::Vector3::UNIT_Z);
        EXPECT_EQ(backdrop->getAttachedObject(0)->getName(), "background");
    }
}

TEST(EngineSetup, PlanesTakeMaterialsOfTheirNameWhenPresent) {
    Ogre::SceneManager* scene = ogre().freshSceneManager();
    Ogre::MaterialManager::getSingleton().create("groundplane", "General");
    createGroundPlane(*scene);
    createBackgroundPlane(*scene, 8.0f);
    EXPECT_EQ(scene->getEntity("groundplane")->getSubEntity(0)->getMaterialName(), "groundplane");
    EXPECT_EQ(scene->getEntity("background")->getSubEntity(0)->getMaterialName(), "BaseWhite");
    scene->clearScene();
    Ogre::MaterialManager::getSingleton().remove("groundplane", "General");
}

TEST(EngineSetup, ResourceGroupsComeFromTheListAndTheWorkingDirectory) {
    ogre();
    test::TempDir dir;
    std::filesystem::create_directory(dir / "media");
    test::writeFile(dir / "resources.cfg",
                    "# comment\n[Extra]\nFileSystem=" + (dir / "media").string() + "\n");
    loadResourceLocations((dir / "resources.cfg").string());
    // The headless engine made the user groups as the viewer does.
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    for (const char* name : {"General", "Extra", "TexFiles", "MSH", "MTL"}) {
        EXPECT_TRUE(groups.resourceGroupExists(name)) << name;
    }
    for (const char* name : {"TexFiles", "MSH", "MTL"}) {
        EXPECT_TRUE(groups.resourceLocationExists(".", name)) << name;
        EXPECT_TRUE(groups.isResourceGroupInGlobalPool(name)) << name;
    }
    EXPECT_TRUE(groups.resourceLocationExists((dir / "media").string(), "Extra"));
}

TEST(EngineSetup, EngineFilesPreferTheWorkingDirectory) {
    test::TempDir dir;
    std::filesystem::current_path(dir.path());
    EXPECT_NE(engineFilePath("plugins.cfg"), "./plugins.cfg");
    test::writeFile(dir / "plugins.cfg", "");
    EXPECT_EQ(engineFilePath("plugins.cfg"), "./plugins.cfg");
}

}  // namespace
}  // namespace verada
