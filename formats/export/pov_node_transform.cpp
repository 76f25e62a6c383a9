#include "formats/export/pov_node_transform.h"

#include <algorithm>
#include <cmath>

namespace verada {
namespace {

// The engine's degrees per radian, in single precision like its angles.
constexpr float kRadiansToDegrees = 180.0f / 3.14159265358979323846f;

}  // namespace

PovNodeTransform povNodeTransform(const NodeSnapshot& node) {
    // Single precision throughout, as the engine computes these angles, so that the six
    // printed decimals match what it would give.
    const auto [x, y, z, w] = node.orientation;
    const float pitch = std::atan2(2 * (y * z + w * x), w * w - x * x - y * y + z * z);
    const float yaw = std::asin(std::clamp(-2 * (x * z - w * y), -1.0f, 1.0f));
    const float roll = std::atan2(2 * (x * y + w * z), w * w + x * x - y * y - z * z);

    PovNodeTransform transform;
    transform.scale = node.scale;
    transform.rotate = {-pitch * kRadiansToDegrees, -yaw * kRadiansToDegrees,
                        roll * kRadiansToDegrees};
    transform.translate = {node.position[0], node.position[1], -node.position[2]};
    return transform;
}

}  // namespace verada
