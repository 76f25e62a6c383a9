#include "formats/export/world_transform.h"

#include <cmath>

namespace verada {

WorldTransform::WorldTransform(const NodeSnapshot& node) {
    double x = node.orientation[0];
    double y = node.orientation[1];
    double z = node.orientation[2];
    double w = node.orientation[3];
    const double length = std::sqrt(x * x + y * y + z * z + w * w);
    if (std::isfinite(length) && length > 0) {
        x /= length;
        y /= length;
        z /= length;
        w /= length;
    } else {
        x = y = z = 0;
        w = 1;
    }
    rotation_ = {{{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
                  {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
                  {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}}};
    for (int axis = 0; axis < 3; ++axis) {
        scale_[axis] = node.scale[axis];
        translation_[axis] = node.position[axis];
    }
}

std::array<double, 3> WorldTransform::point(const float* position) const {
    std::array<double, 3> world = translation_;
    for (int row = 0; row < 3; ++row) {
        for (int axis = 0; axis < 3; ++axis) {
            world[row] += rotation_[row][axis] * scale_[axis] * position[axis];
        }
    }
    return world;
}

std::array<double, 3> WorldTransform::normal(const float* normal) const {
    // The cofactor matrix of rotation × scale is rotation × (sy sz, sx sz, sx sy): the inverse
    // transpose times the determinant, whose sign keeps a mirroring scale's normals outward.
    const auto [sx, sy, sz] = scale_;
    const double determinant = sx * sy * sz;
    const double sign = determinant < 0 ? -1 : 1;
    const std::array<double, 3> scaled = {sign * normal[0] * sy * sz, sign * normal[1] * sx * sz,
                                          sign * normal[2] * sx * sy};
    std::array<double, 3> world{};
    for (int row = 0; row < 3; ++row) {
        for (int axis = 0; axis < 3; ++axis) {
            world[row] += rotation_[row][axis] * scaled[axis];
        }
    }
    const double length =
        std::sqrt(world[0] * world[0] + world[1] * world[1] + world[2] * world[2]);
    if (!std::isfinite(length) || length == 0) {
        return {0, 1, 0};
    }
    return {world[0] / length, world[1] / length, world[2] / length};
}

}  // namespace verada
