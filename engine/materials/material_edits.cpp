#include "engine/materials/material_edits.h"

#include <OgreException.h>
#include <OgreMaterial.h>
#include <OgreMaterialManager.h>
#include <OgreMaterialSerializer.h>

#include "engine/materials/material_messages.h"
#include "formats/io/atomic_file.h"
#include "formats/io/printf_text.h"

namespace verada {
namespace {

bool isBuiltInMaterial(const std::string& name) {
    return name == "DefaultSettings" || name == "BaseWhite" || name == "BaseWhiteNoLighting";
}

}  // namespace

Status cloneMaterial(const std::string& newName, const std::string& fromName) {
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    if (materials.resourceExists(newName, Ogre::RGN_AUTODETECT)) {
        return fail(kMaterialNameNotUnique);
    }
    Ogre::MaterialPtr from = materials.getByName(fromName, Ogre::RGN_AUTODETECT);
    if (!from) {
        return fail(kCloneSourceNotFound);
    }
    try {
        from->clone(newName);
        from->compile(true);
    } catch (const Ogre::Exception& error) {
        return fail("ERR: " + error.getDescription());
    }
    return {};
}

Status deleteMaterial(const std::string& name) {
    if (isBuiltInMaterial(name)) {
        return fail(printfText(kBuiltInMaterialKept, name.c_str()));
    }
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    if (Ogre::MaterialPtr material = materials.getByName(name, Ogre::RGN_AUTODETECT)) {
        materials.remove(material);
    }
    return {};
}

Status saveMaterialScript(const std::string& name, const std::string& path) {
    Ogre::MaterialPtr material =
        Ogre::MaterialManager::getSingleton().getByName(name, Ogre::RGN_AUTODETECT);
    if (!material) {
        return fail(printfText(kNoSuchMaterial, name.c_str()));
    }
    std::string text;
    try {
        Ogre::MaterialSerializer serializer;
        serializer.queueForExport(material, false, false);
        text = serializer.getQueuedAsString();
    } catch (const Ogre::Exception& error) {
        return fail("ERR: " + error.getDescription());
    }
    AtomicFile file(path);
    if (!file.isOpen() || file.write(text.data(), text.size()) != text.size() || !file.commit()) {
        return failWriting(path, printfText(kUnableToWrite, path.c_str()));
    }
    return {};
}

}  // namespace verada
