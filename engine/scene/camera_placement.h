#pragma once

#include <OgreVector.h>

namespace Ogre {
class Camera;
class Light;
}  // namespace Ogre

namespace verada {

// The camera and the light are placed by their own transforms, not through scene nodes,
// so that the root's children stay exactly the user's nodes plus the two planes.
void placeCamera(Ogre::Camera& camera, const Ogre::Vector3& position, const Ogre::Vector3& target);
Ogre::Vector3 cameraPosition(const Ogre::Camera& camera);
void placeLight(Ogre::Light& light, const Ogre::Vector3& position);
Ogre::Vector3 lightPosition(const Ogre::Light& light);

}  // namespace verada
