#pragma once

#include <memory>
#include <string>

#include "engine/app_state.h"
#include "formats/config/profile.h"
#include "formats/io/result.h"

namespace Ogre {
class GpuProgramManager;
class HardwareBufferManager;
class LogManager;
class Root;
class SceneManager;
class TextureManager;
}  // namespace Ogre

namespace verada {

// Ogre from set-up to teardown, one per process. On screen it renders into a native window
// (the viewer, `verada render`); headless it runs scenes, meshes and materials without any
// display or render system (tests, and tools that never draw). Destroying it frees the vertex
// data the mesh builder made, the scene, the meshes and materials, the root and the log, in
// that order.
class Engine {
  public:
    // Reads the view settings into state, brings Ogre up inside the native window and builds
    // the fixed scene; state's engine pointers then view the new objects until the engine is
    // destroyed. Fails with why, the engine then already torn down.
    static Result<std::unique_ptr<Engine>> startOnScreen(AppState& state,
                                                         unsigned long nativeWindow,
                                                         const IniProfile& config,
                                                         const std::string& logFile);

    // Without a render system: scenes, meshes and material scripts work, textures are never
    // loaded (that needs a render system). The user resource groups are there and images
    // decode. The Ogre log goes to logFile, or nowhere when it is empty (never to the console).
    static std::unique_ptr<Engine> startHeadless(const std::string& logFile);

    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    Ogre::Root& root() { return *root_; }

    // A fresh scene manager named kSceneManagerName, replacing any earlier one.
    Ogre::SceneManager* freshSceneManager();

  private:
    Engine() = default;
    Status bringUpOnScreen(AppState& state, unsigned long nativeWindow, const std::string& logFile);
    // The Ogre log goes to logFile, never to the console; an empty name keeps no log file.
    void createLog(const std::string& logFile);

    bool headless_ = false;
    AppState* state_ = nullptr;  // the state whose pointers view this engine (on screen)
    std::unique_ptr<Ogre::LogManager> logManager_;
    std::unique_ptr<Ogre::Root> root_;
    std::unique_ptr<Ogre::HardwareBufferManager> bufferManager_;
    std::unique_ptr<Ogre::TextureManager> textureManager_;
    std::unique_ptr<Ogre::GpuProgramManager> gpuProgramManager_;
};

}  // namespace verada
