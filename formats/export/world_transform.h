#pragma once

#include <array>

#include "formats/scene/scene_snapshot.h"

namespace verada {

// A root child's placement applied to the vertices of its entities: scale, then rotation,
// then translation (the root itself stays at the origin).
class WorldTransform {
  public:
    explicit WorldTransform(const NodeSnapshot& node);

    std::array<double, 3> point(const float* position) const;

    // By the inverse transpose, as normals must go under a non-uniform scale, made unit
    // length; (0, 1, 0) when a zero scale leaves no direction.
    std::array<double, 3> normal(const float* normal) const;

  private:
    std::array<std::array<double, 3>, 3> rotation_{};
    std::array<double, 3> scale_{};
    std::array<double, 3> translation_{};
};

}  // namespace verada
