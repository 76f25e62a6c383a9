#include "engine/offscreen_render.h"

#include <OgreCamera.h>
#include <OgreDataStream.h>
#include <OgreException.h>
#include <OgreHardwarePixelBuffer.h>
#include <OgreImage.h>
#include <OgreRenderTexture.h>
#include <OgreResourceGroupManager.h>
#include <OgreTextureManager.h>
#include <OgreViewport.h>

#include "formats/io/atomic_file.h"

namespace verada {
namespace {

constexpr const char* kTargetName = "VeradaOffscreenTarget";

Status writeThroughAtomicFile(const Ogre::DataStreamPtr& png, const std::string& path) {
    std::string bytes = png->getAsString();
    AtomicFile file(path);
    if (!file.isOpen() || file.write(bytes.data(), bytes.size()) != bytes.size() ||
        !file.commit()) {
        return failWriting(path, "ERR: Unable to write " + path + ".");
    }
    return {};
}

}  // namespace

Status renderSceneToFile(AppState& state, unsigned width, unsigned height,
                         const std::string& path) {
    Ogre::TextureManager& textures = Ogre::TextureManager::getSingleton();
    Ogre::DataStreamPtr png;
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
        Ogre::Image image(Ogre::PF_BYTE_RGB, width, height);
        target->copyContentsToMemory(image.getPixelBox(), image.getPixelBox());
        textures.remove(texture);
        png = image.encode("png");
    } catch (const Ogre::Exception& error) {
        if (textures.resourceExists(kTargetName, Ogre::RGN_INTERNAL)) {
            textures.remove(kTargetName, Ogre::RGN_INTERNAL);
        }
        return failWriting(path, "ERR: " + error.getDescription());
    }
    return writeThroughAtomicFile(png, path);
}

}  // namespace verada
