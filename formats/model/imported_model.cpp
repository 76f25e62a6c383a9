#include "formats/model/imported_model.h"

#include <algorithm>

namespace verada {

void growBoundsOverPositions(ModelGroup& group) {
    group.boundsMin = {0.0f, 0.0f, 0.0f};
    group.boundsMax = {0.0f, 0.0f, 0.0f};
    for (std::size_t i = 0; i < group.positions.size(); ++i) {
        std::size_t axis = i % 3;
        group.boundsMin[axis] = std::min(group.boundsMin[axis], group.positions[i]);
        group.boundsMax[axis] = std::max(group.boundsMax[axis], group.positions[i]);
    }
}

}  // namespace verada
