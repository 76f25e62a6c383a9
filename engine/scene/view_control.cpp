#include "engine/scene/view_control.h"

#include <cmath>

#include <OgreCamera.h>
#include <OgreQuaternion.h>
#include <OgreRenderWindow.h>
#include <OgreRoot.h>

#include "engine/scene/camera_placement.h"

namespace verada {
namespace {

constexpr float kPanZoomFactor = 0.05f;
constexpr float kOrbitFactor = 0.25f * 0.5f;
constexpr float kDegreesPerRadian = 57.2958f;
constexpr float kMinCameraDist = 1.0f;
constexpr float kMaxCameraDist = 200.0f;

// Accumulated orbit angles wrap on the positive side only; a negative angle shows the same
// view anyway.
float wrapOrbitAngle(float degrees) {
    return degrees >= 360.0f ? degrees - 360.0f : degrees;
}

}  // namespace

void applyCamera(AppState& state) {
    const ViewSettings& view = state.viewSettings;
    placeCamera(*state.camera, Ogre::Vector3(view.cameraXPos, view.cameraYPos, view.cameraDist),
                Ogre::Vector3(view.cameraLookX, view.cameraLookY, 0.0f));
}

void resetCamera(AppState& state) {
    ViewSettings& view = state.viewSettings;
    view.cameraXPos = 0.0f;
    view.cameraLookX = 0.0f;
    view.cameraYPos = 1.0f;
    view.cameraLookY = 1.0f;
    view.cameraDist = 2.0f;
    applyCamera(state);
}

void panCamera(AppState& state, float dx, float dy) {
    ViewSettings& view = state.viewSettings;
    float a = dx * kPanZoomFactor;
    float b = dy * kPanZoomFactor;
    view.cameraXPos += a;
    view.cameraLookX += a;
    view.cameraYPos += b;
    view.cameraLookY += b;
    applyCamera(state);
}

void zoomCamera(AppState& state, float d) {
    ViewSettings& view = state.viewSettings;
    float step = d * kPanZoomFactor;
    view.cameraDist += step;
    if (view.cameraDist < kMinCameraDist) {
        view.cameraDist = kMinCameraDist;
    }
    if (view.cameraDist > kMaxCameraDist) {
        view.cameraDist = kMaxCameraDist;
    }
    applyCamera(state);
}

void orbitCamera(AppState& state, float dx, float dy) {
    ViewSettings& view = state.viewSettings;
    state.orbitYaw = wrapOrbitAngle(state.orbitYaw + dx * kOrbitFactor);
    state.orbitPitch = wrapOrbitAngle(state.orbitPitch + dy * kOrbitFactor);
    float p = state.orbitPitch / kDegreesPerRadian;
    float q = state.orbitYaw / kDegreesPerRadian;

    // First about x by p, then about y by q.
    float sx = std::sin(p / 2.0f);
    float cx = std::cos(p / 2.0f);
    float sy = std::sin(q / 2.0f);
    float cy = std::cos(q / 2.0f);
    Ogre::Quaternion turn(cx * cy, sx * cy, cx * sy, -sx * sy);

    // Always from the unturned vector, so repeated steps do not drift.
    Ogre::Vector3 unturned(view.cameraLookX, view.cameraLookY, view.cameraDist);
    Ogre::Vector3 position = turn.Inverse() * unturned;
    view.cameraXPos = position.x;
    view.cameraYPos = position.y;
    placeCamera(*state.camera, position, Ogre::Vector3(view.cameraLookX, view.cameraLookY, 0.0f));
}

void setPolygonMode(AppState& state, PolygonView view) {
    switch (view) {
        case PolygonView::Points:
            state.camera->setPolygonMode(Ogre::PM_POINTS);
            break;
        case PolygonView::Wireframe:
            state.camera->setPolygonMode(Ogre::PM_WIREFRAME);
            break;
        case PolygonView::Solid:
            state.camera->setPolygonMode(Ogre::PM_SOLID);
            break;
    }
}

void handleWindowResize(AppState& state) {
    if (state.camera == nullptr || state.renderWindow == nullptr) {
        return;
    }
    state.renderWindow->windowMovedOrResized();
    if (state.clientRect.bottom - state.clientRect.top != 0 &&
        state.renderWindow->getHeight() != 0) {
        state.camera->setAspectRatio(static_cast<float>(state.renderWindow->getWidth()) /
                                     static_cast<float>(state.renderWindow->getHeight()));
    }
    state.root->renderOneFrame();
}

void detachRenderWindow(AppState& state) {
    if (state.root != nullptr && state.renderWindow != nullptr) {
        state.root->detachRenderTarget(state.renderWindow);
    }
}

}  // namespace verada
