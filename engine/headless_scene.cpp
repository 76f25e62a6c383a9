#include "engine/headless_scene.h"

#include "engine/engine_setup.h"
#include "formats/config/config.h"

namespace verada {

std::unique_ptr<Engine> startHeadlessScene(AppState& state, const IniProfile& config) {
    loadViewSettings(config, state.viewSettings, state.povSettings);
    std::unique_ptr<Engine> engine = Engine::startHeadless("");
    state.root = &engine->root();
    state.sceneManager = engine->freshSceneManager();
    const ViewSettings& view = state.viewSettings;
    createLight(*state.sceneManager, view);
    state.camera = createCamera(*state.sceneManager, view);
    createGroundPlane(*state.sceneManager);
    createBackgroundPlane(*state.sceneManager, view.backgroundShift);
    return engine;
}

}  // namespace verada
