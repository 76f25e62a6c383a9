#include "engine/scene_files.h"

#include "engine/materials/material_script_loader.h"
#include "engine/mesh/model_loader.h"
#include "engine/mesh/ogre_mesh_node.h"
#include "engine/scenefile/rts_load.h"
#include "formats/scene/viewer_files.h"

namespace verada {
namespace {

template <typename T>
Status statusOf(const Result<T>& result) {
    Status status = result ? Status() : Status(result.failure());
    status.takeWarnings(result);
    return status;
}

using FileOutcomes = std::vector<FileOutcome>;

FileOutcomes loadScript(AppState&, const std::string& path) {
    return {{path, path, statusOf(loadMaterialScriptFile(path)), {}}};
}

FileOutcomes loadOgreMesh(AppState& state, const std::string& path) {
    return {{path, path, statusOf(loadOgreMeshFile(state, path, "")), {}}};
}

// A model file, or every model of a package.
FileOutcomes loadModels(AppState& state, const std::string& path) {
    FileOutcomes outcomes;
    for (const AddedModel& added : addModelFileAsNewNodes(state, path)) {
        outcomes.push_back({path, added.file, statusOf(added.built),
                            added.built ? added.built->leftOut : std::vector<std::string>()});
    }
    return outcomes;
}

FileOutcomes loadRtsScene(AppState& state, const std::string& path) {
    return {{path, path, loadRtsFile(state, path), {}}};
}

FileOutcomes unknownFile(AppState&, const std::string& path) {
    return {{path, path, fail(kUnknownSceneFile), {}}};
}

using FileLoader = FileOutcomes (*)(AppState&, const std::string&);

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
        case ViewerFileKind::Package:
            return loadModels;
        case ViewerFileKind::SceneFile:
            return loadRtsScene;
    }
    return unknownFile;
}

}  // namespace

std::vector<FileOutcome> loadSceneFiles(AppState& state, const std::vector<std::string>& paths) {
    std::vector<FileOutcome> outcomes;
    for (int round : {0, 1}) {
        for (const std::string& path : paths) {
            if (roundOf(path) == round) {
                FileOutcomes loaded = loaderOf(path)(state, path);
                outcomes.insert(outcomes.end(), loaded.begin(), loaded.end());
            }
        }
    }
    return outcomes;
}

}  // namespace verada
