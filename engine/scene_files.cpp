#include "engine/scene_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "engine/materials/material_script_loader.h"
#include "engine/mesh/model_loader.h"
#include "engine/mesh/ogre_mesh_node.h"
#include "engine/scenefile/rts_load.h"

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

FileOutcome loadRtsScene(AppState& state, const std::string& path) {
    return {path, loadRtsFile(state, path), {}};
}

FileOutcome unknownFile(AppState&, const std::string& path) {
    return {path, fail(kUnknownSceneFile), {}};
}

// The kinds of file, by extension. Files of an earlier round load before those of later ones
// whatever their place in the list.
struct SceneFileKind {
    std::vector<std::string> extensions;  // lower case
    int round;
    FileOutcome (*load)(AppState&, const std::string&);
};

const std::vector<SceneFileKind>& sceneFileKinds() {
    static const std::vector<SceneFileKind> kinds = {
        {{".material"}, 0, loadScript},
        {{".mesh"}, 1, loadOgreMesh},
        {{".gmdl", ".gmsh", ".5gd", ".simpe"}, 1, loadModel},
        {{".rts"}, 1, loadRtsScene},
    };
    return kinds;
}

const SceneFileKind& kindOf(const std::string& path) {
    static const SceneFileKind unknown = {{}, 1, unknownFile};
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const SceneFileKind& kind : sceneFileKinds()) {
        if (std::find(kind.extensions.begin(), kind.extensions.end(), extension) !=
            kind.extensions.end()) {
            return kind;
        }
    }
    return unknown;
}

}  // namespace

std::vector<FileOutcome> loadSceneFiles(AppState& state, const std::vector<std::string>& paths) {
    std::vector<FileOutcome> outcomes;
    for (int round : {0, 1}) {
        for (const std::string& path : paths) {
            const SceneFileKind& kind = kindOf(path);
            if (kind.round == round) {
                outcomes.push_back(kind.load(state, path));
            }
        }
    }
    return outcomes;
}

}  // namespace verada
