#include "formats/scene/viewer_files.h"
#include "formats/io/path.h"


namespace verada {

const std::vector<ViewerFileType>& viewerFileTypes() {
    static const std::vector<ViewerFileType> types = {
        {".gmdl", "model/x-spore-gmdl", ViewerFileKind::Model, false, true},
        {".gmsh", "model/x-spore-gmsh", ViewerFileKind::Model, false, true},
        {".5gd", "model/x-sims2-gmdc", ViewerFileKind::Model, false, true},
        {".simpe", "model/x-sims2-gmdc", ViewerFileKind::Model, false, true},
        {".mesh", "model/x-ogre-mesh", ViewerFileKind::OgreMesh, false, true},
        {".material", "text/x-ogre-material", ViewerFileKind::MaterialScript, false, false},
        {".package", "application/x-dbpf-package", ViewerFileKind::Package, false, false},
        {".rts", "application/x-verada-rts", ViewerFileKind::SceneFile, true, true},
    };
    return types;
}

const ViewerFileType* viewerFileType(const std::string& path) {
    const std::string extension = lowerExtension(path);
    for (const ViewerFileType& type : viewerFileTypes()) {
        if (extension == type.extension) {
            return &type;
        }
    }
    return nullptr;
}

std::string viewerFileExtensionList() {
    std::string list;
    for (const ViewerFileType& type : viewerFileTypes()) {
        list += (list.empty() ? "" : ", ") + std::string(type.extension);
    }
    return list;
}

}  // namespace verada
