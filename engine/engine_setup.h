#pragma once

#include <string>

#include "formats/config/view_settings.h"

namespace Ogre {
class Camera;
class Light;
class Root;
class SceneManager;
}  // namespace Ogre

namespace verada {

inline constexpr const char* kRenderSystemName = "OpenGL Rendering Subsystem";
inline constexpr const char* kSceneManagerName = "mSceneMgr";
inline constexpr const char* kLightName = "Light1";
inline constexpr const char* kCameraName = "PlayerCam";
inline constexpr const char* kGroundPlaneName = "groundplane";
inline constexpr const char* kBackgroundName = "background";
inline constexpr const char* kTextureGroup = "TexFiles";
inline constexpr const char* kMeshGroup = "MSH";
inline constexpr const char* kMaterialGroup = "MTL";

// "./name" when the working directory has one, else the copy the build put next to the
// executable, else the installed one in share/verada beside the executable's bin folder.
std::string engineFilePath(const std::string& name);

bool selectRenderSystem(Ogre::Root& root);
void loadResourceLocations(const std::string& resourcesFile);
// The groups for user files ("TexFiles", "MTL", "MSH"), in the global pool, each on the working
// directory: see loadResourceLocations for the configured ones. The user's files themselves
// are read by full path; the folders they come from are added to these groups.
void createUserResourceGroups();

// "Light1", a point light placed and coloured as the view settings say.
void createLight(Ogre::SceneManager& sceneManager, const ViewSettings& view);
void applyLightSettings(Ogre::Light& light, const ViewSettings& view);
// Camera position, look-at, near clip and field of view from the view settings.
Ogre::Camera* createCamera(Ogre::SceneManager& sceneManager, const ViewSettings& view);
void applyCameraSettings(Ogre::Camera& camera, const ViewSettings& view);
void createGroundPlane(Ogre::SceneManager& sceneManager);
void createBackgroundPlane(Ogre::SceneManager& sceneManager, float backgroundShift);

}  // namespace verada
