#pragma once

#include <memory>
#include <string>

#include "engine/engine.h"

namespace verada::test {

// The engine in its headless mode, one per test program: scene managers, manual meshes,
// entities, ray queries, materials and serialisers all work without a display.
class HeadlessOgre {
  public:
    explicit HeadlessOgre(const std::string& logFile = "headless-ogre.log")
        : engine_(Engine::startHeadless(logFile)) {}

    Ogre::Root& root() { return engine_->root(); }
    // A fresh scene manager named "mSceneMgr", replacing any earlier one.
    Ogre::SceneManager* freshSceneManager() { return engine_->freshSceneManager(); }

  private:
    std::unique_ptr<Engine> engine_;
};

}  // namespace verada::test
