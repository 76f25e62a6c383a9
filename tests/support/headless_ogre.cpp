#include "tests/support/headless_ogre.h"

#include <OgreDefaultHardwareBufferManager.h>
#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgreMeshManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <OgreSceneManagerEnumerator.h>
#include <OgreTextureManager.h>

namespace verada::test {

HeadlessOgre::HeadlessOgre(const std::string& logFile) {
    logManager_ = std::make_unique<Ogre::LogManager>();
    logManager_->createLog(logFile, true, false, false);
    root_ = std::make_unique<Ogre::Root>("", "", "");
    bufferManager_ = std::make_unique<Ogre::DefaultHardwareBufferManager>();
    Ogre::MaterialManager::getSingleton().initialise();
    Ogre::MeshManager::getSingleton()._initialise();
    textureManager_ = std::make_unique<Ogre::DefaultTextureManager>();
}

HeadlessOgre::~HeadlessOgre() {
    if (root_->hasSceneManager("mSceneMgr")) {
        root_->destroySceneManager(root_->getSceneManager("mSceneMgr"));
    }
    Ogre::MeshManager::getSingleton().removeAll();
    Ogre::MaterialManager::getSingleton().removeAll();
    textureManager_.reset();
    root_.reset();
    bufferManager_.reset();
    logManager_.reset();
}

Ogre::SceneManager* HeadlessOgre::freshSceneManager() {
    if (root_->hasSceneManager("mSceneMgr")) {
        root_->destroySceneManager(root_->getSceneManager("mSceneMgr"));
    }
    return root_->createSceneManager(Ogre::DefaultSceneManagerFactory::FACTORY_TYPE_NAME,
                                     "mSceneMgr");
}

}  // namespace verada::test
