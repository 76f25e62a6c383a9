#include "engine/mesh/submesh_label.h"

#include <OgreMesh.h>

#include "engine/scene/name_list.h"
#include "formats/io/printf_text.h"

namespace verada {

std::string buildSubmeshLabel(const Ogre::Mesh& mesh, unsigned index) {
    std::string label = printfText("GroupIndex%02u", index);
    for (const auto& [name, subMesh] : mesh.getSubMeshNameMap()) {
        if (subMesh == index) {
            label = name.substr(0, NameList::kMaxNameLength);
        }
    }
    return label;
}

}  // namespace verada
