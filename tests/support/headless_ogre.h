#pragma once

#include <memory>
#include <string>

namespace Ogre {
class LogManager;
class Root;
class SceneManager;
class HardwareBufferManager;
class TextureManager;
}  // namespace Ogre

namespace verada::test {

// Ogre without a display or render system: scene managers, manual meshes, entities, ray
// queries, materials and serialisers all work. One per test program.
class HeadlessOgre {
  public:
    explicit HeadlessOgre(const std::string& logFile = "headless-ogre.log");
    ~HeadlessOgre();
    HeadlessOgre(const HeadlessOgre&) = delete;
    HeadlessOgre& operator=(const HeadlessOgre&) = delete;

    Ogre::Root& root() { return *root_; }
    // A fresh scene manager named "mSceneMgr", replacing any earlier one.
    Ogre::SceneManager* freshSceneManager();

  private:
    std::unique_ptr<Ogre::LogManager> logManager_;
    std::unique_ptr<Ogre::Root> root_;
    std::unique_ptr<Ogre::HardwareBufferManager> bufferManager_;
    std::unique_ptr<Ogre::TextureManager> textureManager_;
};

}  // namespace verada::test
