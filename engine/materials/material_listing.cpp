#include "engine/materials/material_listing.h"

#include <OgreMaterialManager.h>
#include <OgreTextureManager.h>

namespace verada {
namespace {

int listResourceNames(Ogre::ResourceManager& manager, NameList& names) {
    names.clear();
    // The iterator walks resource handles, that is the order of creation.
    auto resources = manager.getResourceIterator();
    while (resources.hasMoreElements() && names.add(resources.getNext()->getName())) {
    }
    return names.size();
}

}  // namespace

int listMaterialNames(NameList& names) {
    return listResourceNames(Ogre::MaterialManager::getSingleton(), names);
}

bool materialLoaded(const std::string& name) {
    return Ogre::MaterialManager::getSingleton().resourceExists(name, Ogre::RGN_AUTODETECT);
}

int listTextureNames(NameList& names) {
    return listResourceNames(Ogre::TextureManager::getSingleton(), names);
}

}  // namespace verada
