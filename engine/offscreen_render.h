#pragma once

#include <string>

#include "engine/app_state.h"
#include "formats/io/result.h"

namespace verada {

// Draws one frame of the scene through state.camera into an off-screen image of
// width × height and saves it as a PNG picture, whatever the path's extension. The camera
// takes the image's aspect ratio; the background is the viewport's.
Status renderSceneToFile(AppState& state, unsigned width, unsigned height, const std::string& path);

}  // namespace verada
