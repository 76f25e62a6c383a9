#include "engine/scene/camera_placement.h"

#include <OgreCamera.h>
#include <OgreLight.h>

// Ogre marks the free-standing transforms deprecated in favour of scene nodes, which would
// show up among the user's nodes; they are kept on purpose and confined to this file.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace verada {

void placeCamera(Ogre::Camera& camera, const Ogre::Vector3& position, const Ogre::Vector3& target) {
    camera.setPosition(position);
    camera.lookAt(target);
}

Ogre::Vector3 cameraPosition(const Ogre::Camera& camera) {
    return camera.getPosition();
}

void placeLight(Ogre::Light& light, const Ogre::Vector3& position) {
    light.setPosition(position);
}

Ogre::Vector3 lightPosition(const Ogre::Light& light) {
    return light.getPosition();
}

}  // namespace verada
