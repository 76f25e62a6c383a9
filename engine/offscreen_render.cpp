#include "engine/offscreen_render.h"

#include <OgreCamera.h>
#include <OgreException.h>
#include <OgreHardwarePixelBuffer.h>
#include <OgreRenderTexture.h>
#include <OgreResourceGroupManager.h>
#include <OgreTextureManager.h>
#include <OgreViewport.h>

namespace verada {
namespace {

constexpr const char* kTargetName = "VeradaOffscreenTarget";

}  // namespace

Status renderSceneToFile(AppState& state, unsigned width, unsigned height,
                         const std::string& path) {
    Ogre::TextureManager& textures = Ogre::TextureManager::getSingleton();
    try {
        // A texture target is read back reliably whether or not a window is on screen.
        Ogre::TexturePtr texture =
            textures.createManual(kTargetName, Ogre::RGN_INTERNAL, Ogre::TEX_TYPE_2D, width, height,
                                  0, Ogre::PF_BYTE_RGB, Ogre::TU_RENDERTARGET);
        Ogre::RenderTexture* target = texture->getBuffer()->getRenderTarget();
        target->setAutoUpdated(false);
        Ogre::Viewport* viewport = target->addViewport(state.camera);
        viewport->setOverlaysEnabled(false);
        if (state.viewport != nullptr) {
            viewport->setBackgroundColour(state.viewport->getBackgroundColour());
        }
        state.camera->setAspectRatio(static_cast<float>(width) / static_cast<float>(height));
        target->update();
        target->writeContentsToFile(path);
        textures.remove(texture);
    } catch (const Ogre::Exception& error) {
        if (textures.resourceExists(kTargetName, Ogre::RGN_INTERNAL)) {
            textures.remove(kTargetName, Ogre::RGN_INTERNAL);
        }
        return failWriting(path, "ERR: " + error.getDescription());
    }
    return {};
}

}  // namespace verada
