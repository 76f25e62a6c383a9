#pragma once

#include "engine/app_state.h"

namespace verada {

// Home, View > "Frame", `verada FILE...` and `verada render --frame`. Takes a bounding sphere
// of the selected node, or of every visible model node when none is selected: centred on their
// world bounding box and reaching their farthest vertex. Writes the camera fields of the view
// settings so that the camera looks straight at its centre along -z from where the sphere
// fills 80 % of the view's height, then places the camera from them as every camera command
// does, so later pans, zooms and orbits go on from the framed view. The near clip follows the
// distance; the zoom limits do not apply. A model pushed back behind z = 0 beyond that
// distance is framed from just in front of z = 0, the plane every placement looks at.
// Returns false, changing nothing, when there is nothing to frame.
bool frameView(AppState& state);

}  // namespace verada
