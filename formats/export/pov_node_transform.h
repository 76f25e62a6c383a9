#pragma once

#include <array>

#include "formats/scene/scene_snapshot.h"

namespace verada {

// A node's placement in POV-Ray's left-handed axes, as its object statements write it.
struct PovNodeTransform {
    std::array<float, 3> scale{};
    std::array<float, 3> rotate{};     // -pitch, -yaw, roll in degrees
    std::array<float, 3> translate{};  // x, y, -z
};

// Pitch, yaw and roll are the engine's own, not reprojected onto the axes.
PovNodeTransform povNodeTransform(const NodeSnapshot& node);

}  // namespace verada
