#pragma once

#include <functional>
#include <string>

#include "engine/materials/material_editor_state.h"
#include "formats/config/view_settings.h"
#include "platform/platform.h"
#include "platform/posix/working_directory.h"

namespace Ogre {
class Camera;
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

// The one process-wide record through which commands reach the window, the engine objects
// and the view. The engine objects belong to the Engine; the pointers here are views of them,
// valid while it runs.
struct AppState {
    Platform* platform = nullptr;
    WindowHandle mainWindow = nullptr;
    SessionDirectories directories;
    ClientRect clientRect;
    bool engineReady = false;

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

    ViewSettings viewSettings;
    PovSettings povSettings;
    CustomColors customColors = defaultCustomColors();

    MaterialEditorState materialEditor;

    // Title update plus one rendered frame; set by the application shell.
    std::function<bool()> renderFrame;
};

}  // namespace verada
