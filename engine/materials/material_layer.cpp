#include "engine/materials/material_layer.h"

#include <algorithm>

#include <OgreMaterial.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreTechnique.h>

#include "engine/scene/name_list.h"

namespace verada {
namespace {

// Technique 0 of the record's material, or null.
Ogre::Technique* firstTechnique(const MaterialLayerSettings& settings) {
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(
        settings.materialName, Ogre::RGN_AUTODETECT);
    if (!material || material->getNumTechniques() == 0) {
        return nullptr;
    }
    return material->getTechnique(0);
}

// Ogre aborts on a pass index out of range.
unsigned short passIndex(int layer, const Ogre::Technique& technique) {
    int last = static_cast<int>(technique.getNumPasses()) - 1;
    return static_cast<unsigned short>(std::clamp(layer, 0, last));
}

bool colourSet(const Ogre::ColourValue& colour) {
    return colour.r != 0.0f || colour.g != 0.0f || colour.b != 0.0f;
}

}  // namespace

bool readMaterialLayer(MaterialLayerSettings& settings, int layer) {
    Ogre::Technique* technique = firstTechnique(settings);
    if (technique == nullptr || technique->getNumPasses() == 0) {
        return false;
    }
    settings.layerCount = static_cast<int>(technique->getNumPasses());
    settings.currentLayer = passIndex(layer, *technique);
    const Ogre::Pass& pass =
        *technique->getPass(static_cast<unsigned short>(settings.currentLayer));

    settings.shininess = pass.getShininess();
    settings.hasShininess = settings.shininess != 0.0f;

    const Ogre::ColourValue& ambient = pass.getAmbient();
    settings.hasAmbient = colourSet(ambient);
    if (settings.hasAmbient) {
        settings.ambient = {ambient.r, ambient.g, ambient.b};
    }
    const Ogre::ColourValue& specular = pass.getSpecular();
    settings.hasSpecular = colourSet(specular);
    if (settings.hasSpecular) {
        settings.specular = {specular.a, specular.r, specular.g, specular.b};
    }
    const Ogre::ColourValue& diffuse = pass.getDiffuse();
    settings.hasDiffuse = colourSet(diffuse);
    if (settings.hasDiffuse) {
        settings.diffuse = {diffuse.a, diffuse.r, diffuse.g, diffuse.b};
    }
    const Ogre::ColourValue& selfIllumination = pass.getSelfIllumination();
    settings.hasSelfIllumination = colourSet(selfIllumination);
    if (settings.hasSelfIllumination) {
        settings.selfIllumination = {selfIllumination.r, selfIllumination.g, selfIllumination.b};
    }

    settings.hasTexture = false;
    if (pass.getNumTextureUnitStates() > 0) {
        settings.textureName =
            pass.getTextureUnitState(0)->getTextureName().substr(0, NameList::kMaxNameLength);
        settings.hasTexture = !settings.textureName.empty();
        settings.alphaLayer = pass.getSourceBlendFactor() == Ogre::SBF_SOURCE_ALPHA;
    }
    return true;
}

bool applyMaterialLayer(MaterialLayerSettings& settings, int layer) {
    Ogre::Technique* technique = firstTechnique(settings);
    if (technique == nullptr || technique->getNumPasses() == 0) {
        return false;
    }
    int wanted = layer < settings.layerCount ? layer : settings.layerCount - 1;
    settings.currentLayer = passIndex(wanted, *technique);
    Ogre::Pass& pass = *technique->getPass(static_cast<unsigned short>(settings.currentLayer));

    pass.setShininess(settings.hasShininess ? settings.shininess : 0.0f);
    const auto& ambient = settings.ambient;
    pass.setAmbient(settings.hasAmbient
                        ? Ogre::ColourValue(ambient[0], ambient[1], ambient[2], 1.0f)
                        : Ogre::ColourValue(0.0f, 0.0f, 0.0f, 1.0f));
    const auto& specular = settings.specular;
    pass.setSpecular(settings.hasSpecular
                         ? Ogre::ColourValue(specular[1], specular[2], specular[3], specular[0])
                         : Ogre::ColourValue(0.0f, 0.0f, 0.0f, 0.0f));
    const auto& diffuse = settings.diffuse;
    Ogre::ColourValue diffuseColour =
        settings.hasDiffuse ? Ogre::ColourValue(diffuse[1], diffuse[2], diffuse[3], diffuse[0])
                            : Ogre::ColourValue(0.0f, 0.0f, 0.0f, 0.0f);
    pass.setDiffuse(diffuseColour);
    const auto& self = settings.selfIllumination;
    pass.setSelfIllumination(settings.hasSelfIllumination
                                 ? Ogre::ColourValue(self[0], self[1], self[2], diffuseColour.a)
                                 : Ogre::ColourValue(0.0f, 0.0f, 0.0f, diffuseColour.a));

    if (settings.hasTexture) {
        if (pass.getNumTextureUnitStates() > 0) {
            pass.getTextureUnitState(0)->setTextureName(settings.textureName, Ogre::TEX_TYPE_2D);
        } else {
            pass.createTextureUnitState(settings.textureName, 0);
        }
        pass.setSceneBlending(settings.alphaLayer ? Ogre::SBT_TRANSPARENT_ALPHA
                                                  : Ogre::SBT_REPLACE);
    }
    return true;
}

bool addMaterialLayer(MaterialLayerSettings& settings) {
    Ogre::Technique* technique = firstTechnique(settings);
    if (technique == nullptr) {
        return false;
    }
    technique->createPass();
    settings.layerCount = static_cast<int>(technique->getNumPasses());
    return true;
}

bool removeLastMaterialLayer(MaterialLayerSettings& settings) {
    Ogre::Technique* technique = firstTechnique(settings);
    if (technique == nullptr) {
        return false;
    }
    unsigned short passes = technique->getNumPasses();
    if (passes > 1) {
        technique->removePass(static_cast<unsigned short>(passes - 1));
        settings.layerCount = passes - 1;
        settings.currentLayer = std::min(settings.currentLayer, settings.layerCount - 1);
    }
    return true;
}

}  // namespace verada
