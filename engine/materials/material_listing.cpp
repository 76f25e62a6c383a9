#include "engine/materials/material_listing.h"

#include <OgreMaterialManager.h>

namespace verada {

int listMaterialNames(NameList& names) {
    names.clear();
    // The iterator walks resource handles, that is the order of creation.
    auto resources = Ogre::MaterialManager::getSingleton().getResourceIterator();
    while (resources.hasMoreElements() && names.add(resources.getNext()->getName())) {
    }
    return names.size();
}

}  // namespace verada
