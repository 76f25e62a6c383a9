#include "import/imported_model.h"

namespace verada {

void releaseModelArrays(ImportedModel& model) {
    for (ModelGroup& group : model.groups) {
        group.ownedPositions = {};
        group.ownedNormals = {};
        group.ownedUvs = {};
        group.ownedFaces = {};
        group.positions = nullptr;
        group.normals = nullptr;
        group.uvs = nullptr;
        group.faces = nullptr;
    }
}

}  // namespace verada
