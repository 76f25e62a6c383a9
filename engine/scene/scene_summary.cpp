#include "engine/scene/scene_summary.h"

#include <set>

#include <OgreEntity.h>
#include <OgreMesh.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSubMesh.h>

#include "engine/scene/scene_nodes.h"

namespace verada {
namespace {

NodeSummary summarizeNode(const Ogre::SceneNode& node) {
    NodeSummary summary;
    summary.name = node.getName();
    for (const Ogre::MovableObject* object : node.getAttachedObjects()) {
        if (object->getMovableType() != "Entity") {
            continue;
        }
        const Ogre::MeshPtr& mesh = static_cast<const Ogre::Entity*>(object)->getMesh();
        if (summary.file.empty()) {
            summary.file = mesh->getOrigin();
        }
        std::set<const Ogre::VertexData*> counted;
        for (const Ogre::SubMesh* subMesh : mesh->getSubMeshes()) {
            const Ogre::VertexData* vertices =
                subMesh->useSharedVertices ? mesh->sharedVertexData : subMesh->vertexData;
            if (vertices != nullptr && counted.insert(vertices).second) {
                summary.vertices += vertices->vertexCount;
            }
            if (subMesh->operationType == Ogre::RenderOperation::OT_TRIANGLE_LIST &&
                subMesh->indexData != nullptr) {
                summary.faces += subMesh->indexData->indexCount / 3;
            }
        }
    }
    return summary;
}

}  // namespace

SceneSummary summarizeScene(const AppState& state) {
    SceneSummary summary;
    if (state.sceneManager == nullptr) {
        return summary;
    }
    if (const Ogre::SceneNode* selected = rootChildNamed(state, state.selectedNodeName)) {
        summary.selected = summarizeNode(*selected);
    }
    for (const Ogre::SceneNode* node : modelNodes(state)) {
        NodeSummary counts = summarizeNode(*node);
        ++summary.modelNodes;
        summary.vertices += counts.vertices;
        summary.faces += counts.faces;
    }
    return summary;
}

}  // namespace verada
