#pragma once

#include "engine/app_state.h"

namespace verada {

// Camera placement from the camera fields of state.viewSettings. None of these renders; the
// next frame shows the change.
void applyCamera(AppState& state);
// The C key: back to (0, 1, 2) looking at (0, 1, 0); orbit angles, near clip and field of
// view stay.
void resetCamera(AppState& state);
// Pixel differences as the mouse dispatch computes them; zoom takes wheel steps as well.
void panCamera(AppState& state, float dx, float dy);
void zoomCamera(AppState& state, float d);
void orbitCamera(AppState& state, float dx, float dy);

enum class PolygonView { Points, Wireframe, Solid };  // the P, W and S keys
void setPolygonMode(AppState& state, PolygonView view);

// After every size change of the main window (state.clientRect already updated).
void handleWindowResize(AppState& state);
// Before the main window is destroyed.
void detachRenderWindow(AppState& state);

}  // namespace verada
