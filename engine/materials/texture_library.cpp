#include "engine/materials/texture_library.h"

#include <filesystem>

#include <OgreException.h>
#include <OgreImage.h>
#include <OgreMaterial.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreRoot.h>
#include <OgreTechnique.h>
#include <OgreTextureManager.h>

#include "engine/engine_setup.h"
#include "engine/scene/name_list.h"

namespace verada {

bool texturesLoadable() {
    return Ogre::Root::getSingleton().getRenderSystem() != nullptr;
}

Result<LoadedTexture> loadTextureFile(const std::string& path) {
    std::filesystem::path file(path);
    LoadedTexture texture{file.filename().string(), false};
    Ogre::TextureManager& textures = Ogre::TextureManager::getSingleton();
    if (textures.resourceExists(texture.name, Ogre::RGN_AUTODETECT)) {
        return texture;
    }
    try {
        Ogre::Image image;
        std::string extension = file.extension().string();
        image.load(Ogre::Root::openFileStream(path),
                   extension.empty() ? extension : extension.substr(1));
        Ogre::TexturePtr made =
            texturesLoadable()
                ? textures.loadImage(texture.name, kTextureGroup, image, Ogre::TEX_TYPE_2D,
                                     Ogre::MIP_DEFAULT, 1.0f, false, Ogre::PF_UNKNOWN)
                : textures.create(texture.name, kTextureGroup);
        // Where the exports find the file again: its folder is no resource location.
        made->_notifyOrigin(std::filesystem::absolute(file).string());
    } catch (const Ogre::Exception& error) {
        if (textures.resourceExists(texture.name, kTextureGroup)) {
            textures.remove(texture.name, kTextureGroup);
        }
        return fail("ERR: " + error.getDescription());
    }
    texture.loaded = true;
    return texture;
}

void detachTextureFromMaterials(const std::string& textureName) {
    auto materials = Ogre::MaterialManager::getSingleton().getResourceIterator();
    while (materials.hasMoreElements()) {
        auto* material = static_cast<Ogre::Material*>(materials.getNext().get());
        if (material->getNumTechniques() == 0) {
            continue;
        }
        for (Ogre::Pass* pass : material->getTechnique(0)->getPasses()) {
            if (pass->getNumTextureUnitStates() > 0 &&
                pass->getTextureUnitState(0)->getTextureName().substr(
                    0, NameList::kMaxNameLength) == textureName) {
                pass->removeTextureUnitState(0);
            }
        }
    }
}

bool deleteTexture(MaterialLayerSettings& settings) {
    std::string name;
    name.swap(settings.textureName);
    // A layer without texture names none: detaching "" would strip unit 0 from every pass whose
    // unit 0 shows no texture file.
    if (name.empty()) {
        return false;
    }
    detachTextureFromMaterials(name);
    Ogre::TextureManager& textures = Ogre::TextureManager::getSingleton();
    Ogre::TexturePtr texture = textures.getByName(name, Ogre::RGN_AUTODETECT);
    if (!texture) {
        return false;
    }
    textures.remove(texture);
    return true;
}

}  // namespace verada
