#pragma once

#include <cstdio>
#include <string>

#include "formats/config/view_settings.h"
#include "formats/io/result.h"
#include "formats/scene/scene_snapshot.h"

namespace verada {

// Writes the scene as a POV-Ray scene file, line by line, lines ending in "\r\n" and reals in
// "%f": the header naming the caption, the light, the camera and the background of the view
// settings, one texture per material (layer 0, in the scene's order), one mesh2 per submesh of
// every object, and one object statement per submesh of every node with a visible object.
// Submeshes POV-Ray would refuse are left out (an index past the vertices with a warning).
// Write errors are for the caller to find when it closes the file.
Status writePovScene(std::FILE* file, const SceneSnapshot& scene, const ViewSettings& view,
                     const PovSettings& pov, const std::string& caption);

}  // namespace verada
