#pragma once

#include <functional>
#include <string>

#include "formats/config/view_settings.h"
#include "platform/platform.h"
#include "platform/session_directories.h"
#include "engine/scene/name_list.h"

namespace Ogre {
class Camera;
class LogManager;
class RenderWindow;
class Root;
class SceneManager;
class Viewport;
}  // namespace Ogre

namespace verada {

struct ClientRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct NodeScaleRecord {
    std::string nodeName;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Loader chosen in "Add Mesh To Existing Scene Node".
enum AttachSource { kAttachOgreMesh = 1, kAttachGmdc = 2, kAttachGmdl = 3, kAttachGmsh = 4 };

// The one process-wide record through which commands reach the window, the engine objects
// and the shared buffers. Engine objects belong to the Ogre root; the pointers here are
// views of them, valid from engine set-up to shutdown.
struct AppState {
    Platform* platform = nullptr;
    WindowHandle mainWindow = nullptr;
    SessionDirectories directories;
    ClientRect clientRect;
    bool engineReady = false;

    Ogre::LogManager* logManager = nullptr;  // created before the root so its log stays quiet
    Ogre::Root* root = nullptr;
    Ogre::RenderWindow* renderWindow = nullptr;
    Ogre::SceneManager* sceneManager = nullptr;
    Ogre::Camera* camera = nullptr;
    Ogre::Viewport* viewport = nullptr;

    int mouseX = 0;
    int mouseY = 0;
    int prevMouseX = 0;
    int prevMouseY = 0;
    float orbitYaw = 0.0f;
    float orbitPitch = 0.0f;

    std::string selectedNodeName;
    NameList nameList;
    NodeScaleRecord nodeScaleRecord;
    std::string attachTargetNode;
    int attachSource = kAttachOgreMesh;

    ViewSettings viewSettings;
    PovSettings povSettings;
    CustomColors customColors = defaultCustomColors();

    // Title update plus one rendered frame; set by the application shell.
    std::function<bool()> renderFrame;
};

}  // namespace verada
