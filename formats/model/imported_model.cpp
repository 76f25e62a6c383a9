#include "formats/model/imported_model.h"

namespace verada {

void releaseModelArrays(ImportedModel& model) {
    for (ModelGroup& group : model.groups) {
        // Swapping with empty vectors gives the memory back; clearing would keep it.
        std::vector<float>().swap(group.ownedPositions);
        std::vector<float>().swap(group.ownedNormals);
        std::vector<float>().swap(group.ownedUvs);
        std::vector<std::uint16_t>().swap(group.ownedFaces);
        group.positions = nullptr;
        group.normals = nullptr;
        group.uvs = nullptr;
        group.faces = nullptr;
    }
}

}  // namespace verada
