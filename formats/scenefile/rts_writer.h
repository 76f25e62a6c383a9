#pragma once

#include <cstdio>

#include "formats/config/view_settings.h"
#include "formats/scene/scene_snapshot.h"

namespace verada {

// Writes the scene file text for a view and a scene: [RTSData], [Materials] with every layer of
// every material, [SceneNodes], then one [Mesh:name] section per object attached to a node, in
// node and attachment order, named after the object and written from the mesh it shows. Lines
// go to the stream one by one as they are made. Returns false when any write (or the final
// flush) failed; the caller owns the stream and the file it was opened on.
bool writeRtsText(std::FILE* out, const ViewSettings& view, const SceneSnapshot& scene);

}  // namespace verada
