#pragma once

#include "engine/app_state.h"

namespace verada {

// View > "Save Screenshot..." (F12): asks for a file with the save dialog and writes the 3D
// view into it as a PNG picture of the view's size; a failure is shown. False when cancelled
// or failed.
bool saveScreenshotCommand(AppState& state);

}  // namespace verada
