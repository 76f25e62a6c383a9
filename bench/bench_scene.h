#pragma once

#include <memory>

#include "engine/app_state.h"
#include "engine/engine.h"
#include "engine/engine_setup.h"

namespace verada::bench {

// A headless engine with an empty scene lit as the viewer lights it: what the scene benchmarks
// build their generated nodes in. The engine is declared first so that it outlives the state.
struct BenchScene {
    std::unique_ptr<Engine> engine = Engine::startHeadless("");
    AppState state;

    BenchScene() {
        state.root = &engine->root();
        state.sceneManager = engine->freshSceneManager();
        createLight(*state.sceneManager, state.viewSettings);
    }
};

}  // namespace verada::bench
