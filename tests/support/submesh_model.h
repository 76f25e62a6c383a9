#pragma once

#include <map>
#include <string>

#include <OgreEntity.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSubMesh.h>

namespace verada::test {

// An entity named entityName of a new mesh with `submeshes` empty submeshes, on root child
// nodeName (made when missing). Submesh k is registered under names[k] when there is one,
// else under no name, as a .mesh file may leave it.
inline Ogre::Entity* addSubmeshModel(Ogre::SceneManager& scene, const std::string& nodeName,
                                     const std::string& entityName, int submeshes,
                                     const std::map<int, std::string>& names = {}) {
    Ogre::MeshPtr mesh =
        Ogre::MeshManager::getSingleton().createManual(entityName + ".mesh", "MSH");
    for (int k = 0; k < submeshes; ++k) {
        auto name = names.find(k);
        if (name == names.end()) {
            mesh->createSubMesh();
        } else {
            mesh->createSubMesh(name->second);
        }
    }
    mesh->_setBounds(Ogre::AxisAlignedBox(-1, -1, -1, 1, 1, 1));
    Ogre::SceneNode* node = scene.hasSceneNode(nodeName)
                                ? scene.getSceneNode(nodeName)
                                : scene.getRootSceneNode()->createChildSceneNode(nodeName);
    Ogre::Entity* entity = scene.createEntity(entityName, mesh);
    node->attachObject(entity);
    return entity;
}

}  // namespace verada::test
