#include "engine/engine_setup.h"

#include <filesystem>
#include <system_error>

#include <OgreCamera.h>
#include <OgreConfigFile.h>
#include <OgreEntity.h>
#include <OgreLight.h>
#include <OgreMaterialManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

#include "engine/scene/camera_placement.h"

namespace verada {
namespace {

std::filesystem::path executableFolder() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path(".") : self.parent_path();
}

Ogre::SceneNode* findOrCreateRootChild(Ogre::SceneManager& sceneManager, const std::string& name) {
    if (sceneManager.hasSceneNode(name)) {
        return sceneManager.getSceneNode(name);
    }
    return sceneManager.getRootSceneNode()->createChildSceneNode(name, Ogre::Vector3::ZERO,
                                                                 Ogre::Quaternion::IDENTITY);
}

void useMaterialIfPresent(Ogre::Entity& entity, const std::string& name) {
    if (Ogre::MaterialManager::getSingleton().resourceExists(name)) {
        entity.setMaterialName(name);
    }
}

}  // namespace

std::string engineFilePath(const std::string& name) {
    std::error_code error;
    if (std::filesystem::exists(name, error)) {
        return "./" + name;
    }
    std::filesystem::path besideProgram = executableFolder() / name;
    std::filesystem::path installed = executableFolder() / ".." / "share" / "verada" / name;
    if (!std::filesystem::exists(besideProgram, error) &&
        std::filesystem::exists(installed, error)) {
        return installed.lexically_normal().string();
    }
    return besideProgram.string();
}

bool selectRenderSystem(Ogre::Root& root) {
    for (Ogre::RenderSystem* renderSystem : root.getAvailableRenderers()) {
        if (renderSystem->getName() == kRenderSystemName) {
            root.setRenderSystem(renderSystem);
            renderSystem->setConfigOption("Full Screen", "No");
            renderSystem->setConfigOption("Video Mode", "800 x 600");
            return true;
        }
    }
    return false;
}

void loadResourceLocations(const std::string& resourcesFile) {
    Ogre::ConfigFile config;
    config.load(resourcesFile, "\t:=", true);
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    for (const auto& section : config.getSettingsBySection()) {
        for (const auto& setting : section.second) {
            groups.addResourceLocation(setting.second, setting.first, section.first, false);
        }
    }
}

void createUserResourceGroups() {
    // In the global pool, so that a lookup with RGN_AUTODETECT finds what they hold: Debian's
    // Ogre searches only "General" when a name comes without its group.
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    for (const char* group : {kTextureGroup, kMaterialGroup, kMeshGroup}) {
        groups.createResourceGroup(group, true);
        groups.addResourceLocation(".", "FileSystem", group, false);
    }
}

void applyLightSettings(Ogre::Light& light, const ViewSettings& view) {
    light.setType(Ogre::Light::LT_POINT);
    placeLight(light,
               Ogre::Vector3(view.lightPosition[0], view.lightPosition[1], view.lightPosition[2]));
    light.setDiffuseColour(view.lightDiffuseColor[0], view.lightDiffuseColor[1],
                           view.lightDiffuseColor[2]);
    light.setSpecularColour(view.lightSpecularColor[0], view.lightSpecularColor[1],
                            view.lightSpecularColor[2]);
}

void createLight(Ogre::SceneManager& sceneManager, const ViewSettings& view) {
    applyLightSettings(*sceneManager.createLight(kLightName), view);
}

void applyCameraSettings(Ogre::Camera& camera, const ViewSettings& view) {
    // The first view looks along -z at the far side; every later placement looks at z = 0.
    placeCamera(camera, Ogre::Vector3(view.cameraXPos, view.cameraYPos, view.cameraDist),
                Ogre::Vector3(view.cameraLookX, view.cameraLookY, -view.cameraDist));
    camera.setNearClipDistance(view.cameraNearClip);
    camera.setFOVy(Ogre::Radian(view.cameraFovY * Ogre::Math::fDeg2Rad));
}

Ogre::Camera* createCamera(Ogre::SceneManager& sceneManager, const ViewSettings& view) {
    Ogre::Camera* camera = sceneManager.createCamera(kCameraName);
    applyCameraSettings(*camera, view);
    return camera;
}

void createGroundPlane(Ogre::SceneManager& sceneManager) {
    Ogre::Entity* entity =
        sceneManager.createEntity(kGroundPlaneName, Ogre::SceneManager::PT_PLANE);
    Ogre::SceneNode* node = findOrCreateRootChild(sceneManager, kGroundPlaneName);
    node->attachObject(entity);
    node->pitch(Ogre::Degree(-90), Ogre::Node::TS_LOCAL);
    useMaterialIfPresent(*entity, kGroundPlaneName);
}

void createBackgroundPlane(Ogre::SceneManager& sceneManager, float backgroundShift) {
    Ogre::Entity* entity = sceneManager.createEntity(kBackgroundName, Ogre::SceneManager::PT_PLANE);
    Ogre::SceneNode* node = findOrCreateRootChild(sceneManager, kBackgroundName);
    node->attachObject(entity);
    Ogre::Vector3 position = node->getPosition();
    node->setPosition(position.x, position.y, position.z - backgroundShift);
    useMaterialIfPresent(*entity, kBackgroundName);
}

}  // namespace verada
