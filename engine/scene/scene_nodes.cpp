#include "engine/scene/scene_nodes.h"

#include <algorithm>

#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreLogManager.h>
#include <OgreMesh.h>
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSceneQuery.h>
#include <OgreSubEntity.h>
#include <OgreSubMesh.h>

#include "engine/engine_setup.h"

namespace verada {
namespace {

constexpr float kMoveFactor = 0.05f;
constexpr float kTurnFactor = 0.25f;
constexpr float kRollFactor = 0.05f;
constexpr float kDegreesPerRadian = 57.2958f;

Ogre::SceneNode* findNode(const AppState& state, const std::string& name) {
    if (state.sceneManager == nullptr || name.empty() || !state.sceneManager->hasSceneNode(name)) {
        return nullptr;
    }
    return state.sceneManager->getSceneNode(name);
}

Ogre::SceneNode* selectedNode(const AppState& state) {
    return findNode(state, state.selectedNodeName);
}

const Ogre::Node::ChildNodeMap& rootChildren(const AppState& state) {
    return state.sceneManager->getRootSceneNode()->getChildren();
}

Ogre::MovableObject* attachedObjectNamed(const Ogre::SceneNode& node, const std::string& name) {
    for (Ogre::MovableObject* object : node.getAttachedObjects()) {
        if (object->getName() == name) {
            return object;
        }
    }
    return nullptr;
}

// The entity objectName on node nodeName when its mesh has submeshes.
Ogre::Entity* entityWithSubmeshes(const AppState& state, const std::string& nodeName,
                                  const std::string& objectName) {
    Ogre::SceneNode* node = findNode(state, nodeName);
    if (node == nullptr) {
        return nullptr;
    }
    Ogre::MovableObject* object = attachedObjectNamed(*node, objectName);
    if (object == nullptr || object->getMovableType() != "Entity") {
        return nullptr;
    }
    auto* entity = static_cast<Ogre::Entity*>(object);
    const Ogre::MeshPtr& mesh = entity->getMesh();
    if (!mesh || mesh->getNumSubMeshes() == 0) {
        return nullptr;
    }
    return entity;
}

Ogre::Radian radiansFromDegrees(float degrees) {
    return Ogre::Radian(degrees / kDegreesPerRadian);
}

}  // namespace

int listSceneNodes(AppState& state) {
    state.nameList.clear();
    for (const Ogre::Node* child : rootChildren(state)) {
        state.nameList.add(child->getName());
    }
    return state.nameList.size();
}

int listNodeObjects(AppState& state, const std::string& nodeName) {
    state.nameList.clear();
    if (findNode(state, nodeName) == nullptr) {
        return 0;
    }
    for (const Ogre::Node* child : rootChildren(state)) {
        if (child->getName() != nodeName) {
            continue;
        }
        for (const Ogre::MovableObject* object :
             static_cast<const Ogre::SceneNode*>(child)->getAttachedObjects()) {
            state.nameList.add(object->getName());
        }
    }
    return state.nameList.size();
}

int getSubmeshMaterial(AppState& state, const std::string& nodeName, const std::string& objectName,
                       int index, std::string& materialOut) {
    Ogre::Entity* entity = entityWithSubmeshes(state, nodeName, objectName);
    if (entity == nullptr) {
        return 0;
    }
    int last = static_cast<int>(entity->getNumSubEntities()) - 1;
    int clamped = std::clamp(index, 0, last);
    materialOut = entity->getSubEntity(clamped)->getMaterialName().substr(0, 255);
    return 1;
}

int setSubmeshMaterial(AppState& state, const std::string& nodeName, const std::string& objectName,
                       int index, const std::string& materialName) {
    Ogre::Entity* entity = entityWithSubmeshes(state, nodeName, objectName);
    if (entity == nullptr || index < 0 || index >= static_cast<int>(entity->getNumSubEntities())) {
        return 0;
    }
    entity->getSubEntity(index)->setMaterialName(materialName);
    return 1;
}

bool nodeHasVisibleObject(const Ogre::SceneNode& node) {
    const Ogre::SceneNode::ObjectMap& objects = node.getAttachedObjects();
    return std::any_of(objects.begin(), objects.end(),
                       [](const Ogre::MovableObject* object) { return object->isVisible(); });
}

int toggleNodeVisibility(AppState& state, const std::string& nodeName) {
    Ogre::SceneNode* node = findNode(state, nodeName);
    if (node == nullptr) {
        return 0;
    }
    node->flipVisibility(true);
    if (nodeName == state.selectedNodeName) {
        node->showBoundingBox(false);
        state.selectedNodeName.clear();
    }
    return 1;
}

int readSelectedNodeScale(AppState& state, NodeScaleRecord& record) {
    Ogre::SceneNode* node = selectedNode(state);
    if (node == nullptr) {
        record = NodeScaleRecord{};
        return 1;
    }
    const Ogre::Vector3& scale = node->getScale();
    record.nodeName = state.selectedNodeName;
    record.x = scale.x;
    record.y = scale.y;
    record.z = scale.z;
    return 1;
}

int applyNodeScale(AppState& state, const NodeScaleRecord& record) {
    if (Ogre::SceneNode* node = findNode(state, record.nodeName)) {
        node->setScale(record.x, record.y, record.z);
    }
    return 1;
}

void resetSelectedNode(AppState& state) {
    if (Ogre::SceneNode* node = selectedNode(state)) {
        node->resetOrientation();
        node->setPosition(0.0f, 0.0f, 0.0f);
    }
}

void moveSelectedNode(AppState& state, float dx, float dy) {
    if (Ogre::SceneNode* node = selectedNode(state)) {
        Ogre::Vector3 position = node->getPosition();
        node->setPosition(position.x + dx * kMoveFactor, position.y + dy * kMoveFactor, position.z);
    }
}

void moveSelectedNodeDepth(AppState& state, float d) {
    if (Ogre::SceneNode* node = selectedNode(state)) {
        Ogre::Vector3 position = node->getPosition();
        node->setPosition(position.x, position.y, position.z + d * kMoveFactor);
    }
}

void turnSelectedNode(AppState& state, float dx, float dy) {
    if (Ogre::SceneNode* node = selectedNode(state)) {
        node->yaw(radiansFromDegrees(dx * kTurnFactor), Ogre::Node::TS_LOCAL);
        node->pitch(radiansFromDegrees(dy * kTurnFactor), Ogre::Node::TS_LOCAL);
    }
}

void rollSelectedNode(AppState& state, float d) {
    if (Ogre::SceneNode* node = selectedNode(state)) {
        node->roll(radiansFromDegrees(d * kRollFactor), Ogre::Node::TS_LOCAL);
    }
}

int pickNodeAt(AppState& state, int x, int y) {
    if (Ogre::SceneNode* node = selectedNode(state)) {
        node->showBoundingBox(false);
    }
    state.selectedNodeName.clear();
    // A window without area has no pixel to pick.
    if (state.camera == nullptr || state.clientRect.right <= 0 || state.clientRect.bottom <= 0) {
        return 1;
    }

    float u = static_cast<float>(x) / static_cast<float>(state.clientRect.right);
    float v = static_cast<float>(y) / static_cast<float>(state.clientRect.bottom);
    Ogre::Ray ray = state.camera->getCameraToViewportRay(u, v);

    // World bounds are only current after a scene-graph update, which the last frame may
    // predate.
    state.sceneManager->getRootSceneNode()->_update(true, false);
    Ogre::RaySceneQuery* query = state.sceneManager->createRayQuery(ray, 0xFFFFFFFF);
    query->setSortByDistance(true, 0);
    query->setQueryTypeMask(Ogre::SceneManager::ENTITY_TYPE_MASK);
    Ogre::RaySceneQueryResult hits = query->execute();

    for (const Ogre::RaySceneQueryResultEntry& hit : hits) {
        if (hit.movable == nullptr) {
            continue;
        }
        Ogre::SceneNode* node = hit.movable->getParentSceneNode();
        if (node == nullptr || !nodeHasVisibleObject(*node)) {
            continue;
        }
        std::string name = node->getName().substr(0, 255);
        if (name == kGroundPlaneName || name == kBackgroundName) {
            continue;
        }
        state.selectedNodeName = name;
        break;
    }
    state.sceneManager->destroyQuery(query);

    if (Ogre::SceneNode* node = selectedNode(state)) {
        node->showBoundingBox(true);
    }
    return 1;
}

void releaseMeshVertexData(AppState& state) {
    int visited = 0;
    for (Ogre::Node* child : rootChildren(state)) {
        for (Ogre::MovableObject* object :
             static_cast<Ogre::SceneNode*>(child)->getAttachedObjects()) {
            // Every object this program attaches is an entity; anything else holds no mesh.
            if (object->getMovableType() != "Entity") {
                continue;
            }
            const Ogre::MeshPtr& mesh = static_cast<Ogre::Entity*>(object)->getMesh();
            if (!mesh) {
                continue;
            }
            visited += static_cast<int>(mesh->getNumSubMeshes());
            for (Ogre::SubMesh* subMesh : mesh->getSubMeshes()) {
                if (!subMesh->useSharedVertices && subMesh->vertexData != nullptr) {
                    delete subMesh->vertexData;
                    subMesh->vertexData = nullptr;
                }
            }
        }
    }
    Ogre::LogManager::getSingleton().logMessage(
        "Deleted " + std::to_string(visited) + " VertexData buffers.", Ogre::LML_NORMAL);
}

void removeAllNodes(AppState& state) {
    releaseMeshVertexData(state);
    Ogre::ResourceGroupManager::getSingleton().clearResourceGroup(kMeshGroup);
    state.sceneManager->clearScene();
    Ogre::LogManager::getSingleton().logMessage("SceneMgr->clearScene()", Ogre::LML_NORMAL);
}

}  // namespace verada
