#include "engine/scene_files.h"

#include "engine/materials/material_script_loader.h"
#include "engine/mesh/model_loader.h"
#include "engine/mesh/ogre_mesh_node.h"
#include "formats/scene/viewer_files.h"

namespace verada {
namespace {

template <typename T>
Status statusOf(const Result<T>& result) {
    Status status = result ? Status() : Status(result.failure());
    status.takeWarnings(result);
    return status;
}

FileOutcome loadScript(AppState&, const std::string& path) {
    return {path, statusOf(loadMaterialScriptFile(path)), {}};
}

FileOutcome loadOgreMesh(AppState& state, const std::string& path) {
    return {path, statusOf(loadOgreMeshFile(state, path, "")), {}};
}

FileOutcome loadModel(AppState& state, const std::string& path) {
    Result<BuiltMesh> built = addModelFileAsNewNode(state, path);
    return {path, statusOf(built), built ? built->leftOut : std::vector<std::string>()};
}

FileOutcome unknownFile(AppState&, const std::string& path) {
    return {path, fail(kUnknownSceneFile), {}};
}

using FileLoader = FileOutcome (*)(AppState&, const std::string&);

// Scripts load before the other files whatever their place in the list, so that the meshes
// after them find their materials.
int roundOf(const std::string& path) {
    const ViewerFileType* type = viewerFileType(path);
    return type != nullptr && type->kind == ViewerFileKind::MaterialScript ? 0 : 1;
}

FileLoader loaderOf(const std::string& path) {
    const ViewerFileType* type = viewerFileType(path);
    if (type == nullptr) {
        return unknownFile;
    }
    switch (type->kind) {
        case ViewerFileKind::MaterialScript:
            return loadScript;
        case ViewerFileKind::OgreMesh:
            return loadOgreMesh;
        case ViewerFileKind::Model:
            return loadModel;
    }
    return unknownFile;
}

}  // namespace

std::vector<FileOutcome> loadSceneFiles(AppState& state, const std::vector<std::string>& paths) {
    std::vector<FileOutcome> outcomes;
    for (int round : {0, 1}) {
        for (const std::string& path : paths) {
            if (roundOf(path) == round) {
                outcomes.push_back(loaderOf(path)(state, path));
            }
        }
    }
    return outcomes;
}

}  // namespace verada
