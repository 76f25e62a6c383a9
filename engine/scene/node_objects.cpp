#include "engine/scene/node_objects.h"

#include <algorithm>

#include <OgreEntity.h>
#include <OgreMesh.h>
#include <OgreSceneNode.h>
#include <OgreSubEntity.h>

#include "engine/mesh/submesh_label.h"
#include "engine/scene/scene_nodes.h"

namespace verada {
namespace {

// The entity entityName on root child nodeName when it shows a mesh with submeshes, or null.
Ogre::Entity* entityWithSubmeshes(const AppState& state, const std::string& nodeName,
                                  const std::string& entityName) {
    Ogre::SceneNode* node = rootChildNamed(state, nodeName);
    if (node == nullptr) {
        return nullptr;
    }
    for (Ogre::MovableObject* object : node->getAttachedObjects()) {
        if (object->getName() != entityName) {
            continue;
        }
        if (object->getMovableType() != "Entity") {
            return nullptr;
        }
        auto* entity = static_cast<Ogre::Entity*>(object);
        const Ogre::MeshPtr& mesh = entity->getMesh();
        // An entity of a mesh without submeshes has no sub-entity to read or set.
        if (!mesh || mesh->getNumSubMeshes() == 0 || entity->getNumSubEntities() == 0) {
            return nullptr;
        }
        return entity;
    }
    return nullptr;
}

}  // namespace

NameList listNodeObjects(const AppState& state, const std::string& nodeName) {
    NameList names;
    if (Ogre::SceneNode* node = rootChildNamed(state, nodeName)) {
        for (const Ogre::MovableObject* object : node->getAttachedObjects()) {
            names.add(object->getName());
        }
    }
    return names;
}

NameList listSubmeshLabels(const AppState& state, const std::string& nodeName,
                           const std::string& entityName) {
    NameList labels;
    Ogre::Entity* entity = entityWithSubmeshes(state, nodeName, entityName);
    if (entity == nullptr) {
        return labels;
    }
    const Ogre::Mesh& mesh = *entity->getMesh();
    unsigned count = mesh.getNumSubMeshes();
    for (unsigned index = 0; index < count && labels.add(buildSubmeshLabel(mesh, index)); ++index) {
    }
    return labels;
}

std::string getSubmeshMaterial(const AppState& state, const std::string& nodeName,
                               const std::string& entityName, int index) {
    Ogre::Entity* entity = entityWithSubmeshes(state, nodeName, entityName);
    if (entity == nullptr) {
        return {};
    }
    int last = static_cast<int>(entity->getNumSubEntities()) - 1;
    Ogre::SubEntity* subEntity = entity->getSubEntity(std::clamp(index, 0, last));
    return subEntity->getMaterialName().substr(0, NameList::kMaxNameLength);
}

void setSubmeshMaterial(AppState& state, const std::string& nodeName, const std::string& entityName,
                        int index, const std::string& materialName) {
    Ogre::Entity* entity = entityWithSubmeshes(state, nodeName, entityName);
    // Ogre raises for a sub-entity index out of range.
    if (entity == nullptr || index < 0 || index >= static_cast<int>(entity->getNumSubEntities())) {
        return;
    }
    entity->getSubEntity(index)->setMaterialName(materialName);
}

}  // namespace verada
