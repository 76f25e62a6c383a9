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

Ogre::SceneNode* selectedNode(const AppState& state) {
    return rootChildNamed(state, state.selectedNodeName);
}

const Ogre::Node::ChildNodeMap& rootChildren(const AppState& state) {
    return state.sceneManager->getRootSceneNode()->getChildren();
}

Ogre::Radian radiansFromDegrees(float degrees) {
    return Ogre::Radian(degrees / kDegreesPerRadian);
}

}  // namespace

Ogre::SceneNode* rootChildNamed(const AppState& state, const std::string& name) {
    if (state.sceneManager == nullptr || name.empty() || !state.sceneManager->hasSceneNode(name)) {
        return nullptr;
    }
    Ogre::SceneNode* node = state.sceneManager->getSceneNode(name);
    return node->getParent() == state.sceneManager->getRootSceneNode() ? node : nullptr;
}

NameList listSceneNodes(const AppState& state) {
    NameList names;
    for (const Ogre::Node* child : rootChildren(state)) {
        names.add(child->getName());
    }
    return names;
}

bool nodeHasVisibleObject(const Ogre::SceneNode& node) {
    const Ogre::SceneNode::ObjectMap& objects = node.getAttachedObjects();
    return std::any_of(objects.begin(), objects.end(),
                       [](const Ogre::MovableObject* object) { return object->isVisible(); });
}

std::vector<Ogre::SceneNode*> modelNodes(const AppState& state) {
    std::vector<Ogre::SceneNode*> nodes;
    for (Ogre::Node* child : rootChildren(state)) {
        if (child->getName() != kGroundPlaneName && child->getName() != kBackgroundName) {
            nodes.push_back(static_cast<Ogre::SceneNode*>(child));
        }
    }
    return nodes;
}

int toggleNodeVisibility(AppState& state, const std::string& nodeName) {
    Ogre::SceneNode* node = rootChildNamed(state, nodeName);
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

NodeScaleRecord readSelectedNodeScale(const AppState& state) {
    Ogre::SceneNode* node = selectedNode(state);
    if (node == nullptr) {
        return {};
    }
    const Ogre::Vector3& scale = node->getScale();
    return {state.selectedNodeName, scale.x, scale.y, scale.z};
}

void applyNodeScale(AppState& state, const NodeScaleRecord& record) {
    if (Ogre::SceneNode* node = rootChildNamed(state, record.nodeName)) {
        node->setScale(record.x, record.y, record.z);
    }
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

void pickNodeAt(AppState& state, int x, int y) {
    if (Ogre::SceneNode* node = selectedNode(state)) {
        node->showBoundingBox(false);
    }
    state.selectedNodeName.clear();
    // A window without area has no pixel to pick.
    if (state.camera == nullptr || state.clientRect.right <= 0 || state.clientRect.bottom <= 0) {
        return;
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
    // The clear destroys the light too, which would leave every model added later black.
    createLight(*state.sceneManager, state.viewSettings);
}

}  // namespace verada
