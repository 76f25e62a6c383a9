#include "engine/scene/view_framing.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <set>
#include <vector>

#include <OgreAxisAlignedBox.h>
#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreHardwareVertexBuffer.h>
#include <OgreMesh.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSubMesh.h>

#include "engine/scene/scene_nodes.h"
#include "engine/scene/view_control.h"

namespace verada {
namespace {

constexpr float kFilledHeight = 0.8f;
constexpr float kMinNearClip = 0.01f;
constexpr float kNearClipShare = 0.01f;

struct Sphere {
    Ogre::Vector3 centre;
    float radius;
};

using PositionVisitor = std::function<void(const Ogre::Vector3&)>;

// False when the positions live only on the graphics card, where reading them back is not
// dependable, or when the buffer holds fewer vertices than the data claims.
bool visitPositions(const Ogre::VertexData& vertexData, const Ogre::Affine3& toWorld,
                    const PositionVisitor& visit) {
    const Ogre::VertexElement* position =
        vertexData.vertexDeclaration->findElementBySemantic(Ogre::VES_POSITION);
    if (position == nullptr || position->getType() != Ogre::VET_FLOAT3) {
        return false;
    }
    Ogre::HardwareVertexBufferSharedPtr buffer =
        vertexData.vertexBufferBinding->getBuffer(position->getSource());
    if (!buffer->isSystemMemory() && !buffer->hasShadowBuffer()) {
        return false;
    }
    if (buffer->getNumVertices() < vertexData.vertexStart ||
        buffer->getNumVertices() - vertexData.vertexStart < vertexData.vertexCount) {
        return false;
    }
    Ogre::HardwareBufferLockGuard lock(buffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
    const auto* vertex = static_cast<const unsigned char*>(lock.pData);
    vertex += vertexData.vertexStart * buffer->getVertexSize();
    for (std::size_t i = 0; i < vertexData.vertexCount; ++i) {
        float* xyz = nullptr;
        position->baseVertexPointerToElement(const_cast<unsigned char*>(vertex), &xyz);
        visit(toWorld * Ogre::Vector3(xyz[0], xyz[1], xyz[2]));
        vertex += buffer->getVertexSize();
    }
    return true;
}

// Every vertex of the entity in world space; false when any of them cannot be read.
bool visitWorldPositions(const Ogre::Entity& entity, const PositionVisitor& visit) {
    const Ogre::MeshPtr& mesh = entity.getMesh();
    const Ogre::Affine3& toWorld = entity.getParentNode()->_getFullTransform();
    std::set<const Ogre::VertexData*> visited;
    bool complete = true;
    for (const Ogre::SubMesh* subMesh : mesh->getSubMeshes()) {
        const Ogre::VertexData* data =
            subMesh->useSharedVertices ? mesh->sharedVertexData : subMesh->vertexData;
        if (data != nullptr && visited.insert(data).second) {
            complete = visitPositions(*data, toWorld, visit) && complete;
        }
    }
    return complete;
}

float farthestCorner(const Ogre::AxisAlignedBox& box, const Ogre::Vector3& from) {
    float farthest = 0.0f;
    if (box.isFinite()) {
        for (const Ogre::Vector3& corner : box.getAllCorners()) {
            farthest = std::max(farthest, corner.distance(from));
        }
    }
    return farthest;
}

std::vector<Ogre::SceneNode*> nodesToFrame(const AppState& state) {
    Ogre::SceneNode* selected = rootChildNamed(state, state.selectedNodeName);
    if (selected != nullptr) {
        return {selected};
    }
    std::vector<Ogre::SceneNode*> nodes = modelNodes(state);
    nodes.erase(std::remove_if(nodes.begin(), nodes.end(),
                               [](Ogre::SceneNode* node) { return !nodeHasVisibleObject(*node); }),
                nodes.end());
    return nodes;
}

// Centred on the models' world bounding box, and only as large as their farthest vertex needs
// (a box's own sphere leaves elongated models small); objects whose vertices cannot be read
// take their boxes' corners instead.
std::optional<Sphere> boundingSphere(const AppState& state) {
    // World bounds are only current after a scene-graph update, which the last frame may
    // predate.
    state.sceneManager->getRootSceneNode()->_update(true, false);
    std::vector<Ogre::SceneNode*> nodes = nodesToFrame(state);
    Ogre::AxisAlignedBox box;
    for (Ogre::SceneNode* node : nodes) {
        box.merge(node->_getWorldAABB());
    }
    if (!box.isFinite()) {
        return std::nullopt;
    }
    Ogre::Vector3 centre = box.getCenter();
    float radius = 0.0f;
    auto reach = [&radius, &centre](const Ogre::Vector3& p) {
        radius = std::max(radius, p.distance(centre));
    };
    for (Ogre::SceneNode* node : nodes) {
        for (Ogre::MovableObject* object : node->getAttachedObjects()) {
            bool exact = object->getMovableType() == "Entity" &&
                         visitWorldPositions(*static_cast<Ogre::Entity*>(object), reach);
            if (!exact) {
                radius =
                    std::max(radius, farthestCorner(object->getWorldBoundingBox(true), centre));
            }
        }
    }
    // A model without extent shows nothing to frame.
    if (!(radius > 0.0f) || !std::isfinite(radius)) {
        return std::nullopt;
    }
    return Sphere{centre, radius};
}

}  // namespace

bool frameView(AppState& state) {
    if (state.sceneManager == nullptr || state.camera == nullptr) {
        return false;
    }
    std::optional<Sphere> sphere = boundingSphere(state);
    if (!sphere) {
        return false;
    }
    ViewSettings& view = state.viewSettings;
    // The sphere's outline is seen at the angle asin(r / d) from its centre; that angle's
    // tangent is to be 80 % of the tangent of half the field of view.
    float halfHeight = kFilledHeight * std::tan(view.cameraFovY * Ogre::Math::fDeg2Rad / 2.0f);
    if (!(halfHeight > 0.0f) || !std::isfinite(halfHeight)) {
        return false;
    }
    float distance = sphere->radius * std::sqrt(1.0f + halfHeight * halfHeight) / halfHeight;
    // Every placement looks at a point of the plane z = 0, so the camera must stay in front of
    // it: a model pushed back further than its framing distance is seen from just in front of
    // the plane, whole but smaller, instead of from a camera that looks away from it.
    float cameraZ = std::max(sphere->centre.z + distance, distance * kNearClipShare);
    view.cameraLookX = view.cameraXPos = sphere->centre.x;
    view.cameraLookY = view.cameraYPos = sphere->centre.y;
    view.cameraDist = cameraZ;
    view.cameraNearClip = std::max(kMinNearClip, (cameraZ - sphere->centre.z) * kNearClipShare);
    applyCamera(state);
    state.camera->setNearClipDistance(view.cameraNearClip);
    return true;
}

}  // namespace verada
