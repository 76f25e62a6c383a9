#include "engine/scene/view_framing.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <OgreAxisAlignedBox.h>
#include <OgreCamera.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

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

std::optional<Sphere> boundingSphere(const AppState& state) {
    // World bounds are only current after a scene-graph update, which the last frame may
    // predate.
    state.sceneManager->getRootSceneNode()->_update(true, false);
    Ogre::AxisAlignedBox box;
    Ogre::SceneNode* selected = rootChildNamed(state, state.selectedNodeName);
    for (Ogre::SceneNode* node : modelNodes(state)) {
        if ((selected == nullptr && nodeHasVisibleObject(*node)) || node == selected) {
            box.merge(node->_getWorldAABB());
        }
    }
    if (!box.isFinite()) {
        return std::nullopt;
    }
    float radius = box.getHalfSize().length();
    // A model without extent shows nothing to frame.
    if (!(radius > 0.0f) || !std::isfinite(radius)) {
        return std::nullopt;
    }
    return Sphere{box.getCenter(), radius};
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
