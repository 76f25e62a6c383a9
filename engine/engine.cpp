#include "engine/engine.h"

#include <OgreDefaultHardwareBufferManager.h>
#include <OgreException.h>
#include <OgreGpuProgramManager.h>
#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgreMeshManager.h>
#include <OgreRenderWindow.h>
#include <OgreResourceGroupManager.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <OgreSceneManagerEnumerator.h>
#include <OgreStringConverter.h>
#include <OgreTextureManager.h>
#include <OgreViewport.h>

#include "engine/engine_setup.h"
#include "engine/scene/scene_nodes.h"
#include "formats/config/config.h"

namespace verada {

Result<std::unique_ptr<Engine>> Engine::startOnScreen(AppState& state, unsigned long nativeWindow,
                                                      const IniProfile& config,
                                                      const std::string& logFile) {
    loadViewSettings(config, state.viewSettings, state.povSettings);
    std::unique_ptr<Engine> engine(new Engine());
    engine->state_ = &state;
    try {
        if (Status started = engine->bringUpOnScreen(state, nativeWindow, logFile); !started) {
            return started.failure();
        }
    } catch (const Ogre::Exception& error) {
        return fail(error.getDescription());
    }
    return engine;
}

void Engine::createLog(const std::string& logFile) {
    // The log first, with console output off, so that Ogre stays off stdout.
    logManager_ = std::make_unique<Ogre::LogManager>();
    logManager_->createLog(logFile.empty() ? "Ogre.log" : logFile, true, false, logFile.empty());
}

Status Engine::bringUpOnScreen(AppState& state, unsigned long nativeWindow,
                               const std::string& logFile) {
    createLog(logFile);
    root_ = std::make_unique<Ogre::Root>(engineFilePath("plugins.cfg"), "ogre.cfg", logFile);
    state.root = root_.get();
    if (!selectRenderSystem(*root_)) {
        return fail(std::string("no \"") + kRenderSystemName + "\" is available (see " +
                    engineFilePath("plugins.cfg") + ")");
    }
    root_->initialise(false, "Verada");
    Ogre::NameValuePairList parameters;
    parameters["externalWindowHandle"] = Ogre::StringConverter::toString(nativeWindow);
    state.renderWindow =
        root_->createRenderWindow("My sub render window", 800, 600, false, &parameters);
    state.sceneManager = root_->createSceneManager(
        Ogre::DefaultSceneManagerFactory::FACTORY_TYPE_NAME, kSceneManagerName);
    createLight(*state.sceneManager, state.viewSettings);

    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    loadResourceLocations(engineFilePath("resources.cfg"));
    groups.initialiseAllResourceGroups();
    groups.loadResourceGroup(Ogre::RGN_DEFAULT, true, true);
    createUserResourceGroups();

    state.camera = createCamera(*state.sceneManager, state.viewSettings);
    state.viewport = state.renderWindow->addViewport(state.camera, 0, 0, 0, 1, 1);
    createGroundPlane(*state.sceneManager);
    createBackgroundPlane(*state.sceneManager, state.viewSettings.backgroundShift);
    const ViewSettings& view = state.viewSettings;
    state.viewport->setBackgroundColour(
        Ogre::ColourValue(view.bgndRed, view.bgndGreen, view.bgndBlue, view.bgndAlpha));
    return {};
}

std::unique_ptr<Engine> Engine::startHeadless(const std::string& logFile) {
    std::unique_ptr<Engine> engine(new Engine());
    engine->headless_ = true;
    engine->createLog(logFile);
    engine->root_ = std::make_unique<Ogre::Root>("", "", "");
    engine->bufferManager_ = std::make_unique<Ogre::DefaultHardwareBufferManager>();
    Ogre::MaterialManager::getSingleton().initialise();
    Ogre::MeshManager::getSingleton()._initialise();
    engine->textureManager_ = std::make_unique<Ogre::DefaultTextureManager>();
    // A script that declares GPU programs needs a program manager, or Ogre asserts; the plain
    // one keeps the declarations without compiling them.
    engine->gpuProgramManager_ = std::make_unique<Ogre::GpuProgramManager>();
    engine->root_->loadPlugin(std::string(VERADA_OGRE_PLUGIN_FOLDER) + "/Codec_STBI");
    createUserResourceGroups();
    return engine;
}

Ogre::SceneManager* Engine::freshSceneManager() {
    if (root_->hasSceneManager(kSceneManagerName)) {
        root_->destroySceneManager(root_->getSceneManager(kSceneManagerName));
    }
    return root_->createSceneManager(Ogre::DefaultSceneManagerFactory::FACTORY_TYPE_NAME,
                                     kSceneManagerName);
}

Engine::~Engine() {
    if (state_ != nullptr) {
        state_->engineReady = false;
        if (state_->sceneManager != nullptr) {
            releaseMeshVertexData(*state_);
        }
        state_->root = nullptr;
        state_->renderWindow = nullptr;
        state_->sceneManager = nullptr;
        state_->camera = nullptr;
        state_->viewport = nullptr;
    }
    if (headless_) {
        // Without a render system the meshes and materials must go before the root.
        if (root_->hasSceneManager(kSceneManagerName)) {
            root_->destroySceneManager(root_->getSceneManager(kSceneManagerName));
        }
        Ogre::MeshManager::getSingleton().removeAll();
        Ogre::MaterialManager::getSingleton().removeAll();
        gpuProgramManager_.reset();
        textureManager_.reset();
    }
    root_.reset();
    bufferManager_.reset();
    logManager_.reset();
}

}  // namespace verada
