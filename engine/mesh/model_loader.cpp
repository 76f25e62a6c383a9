#include "engine/mesh/model_loader.h"

#include <OgreEntity.h>
#include <OgreException.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

#include "engine/engine_setup.h"
#include "engine/mesh/mesh_origin.h"
#include "engine/scene/scene_nodes.h"
#include "engine/scene/unique_name.h"
#include "formats/io/path.h"
#include "formats/package/package_models.h"

namespace verada {
namespace {

// name: what the mesh is named after; origin: the file it came from, or "PACKAGE:ITEM".
Result<BuiltMesh> buildFromRead(Result<ImportedModel> read, const std::string& name,
                                const std::string& origin) {
    if (!read) {
        Result<BuiltMesh> failed = read.failure();
        failed.takeWarnings(read);
        return failed;
    }
    Result<BuiltMesh> built = buildMeshFromModel(read.value(), name);
    built.takeWarnings(read);
    if (built) {
        recordMeshOrigin(*Ogre::MeshManager::getSingleton().getByName(built->name, kMeshGroup),
                         origin);
    }
    return built;
}

// The model built and shown on a new node named after it.
Result<BuiltMesh> buildOnNewNode(AppState& state, ModelRead read) {
    try {
        Result<BuiltMesh> built = buildFromRead(std::move(read.model), read.name, read.file);
        if (built) {
            showOnNewNode(state, built->name);
        }
        return built;
    } catch (const Ogre::Exception& error) {
        return fail("ERR: " + error.getDescription());
    }
}

}  // namespace

Result<BuiltMesh> loadModelMesh(ModelFormat format, const std::string& path) {
    return buildFromRead(readModelFile(format, path), path, path);
}

void showOnNewNode(AppState& state, const std::string& meshName) {
    Ogre::SceneManager& scene = *state.sceneManager;
    std::string nodeName = uniqueName(
        baseName(meshName), [&scene](const std::string& name) { return scene.hasSceneNode(name); });
    Ogre::Entity* entity = state.sceneManager->createEntity(meshName, meshName);
    Ogre::SceneNode* node = state.sceneManager->getRootSceneNode()->createChildSceneNode(
        nodeName, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY);
    node->attachObject(entity);
    node->setScale(1.0f, 1.0f, 1.0f);
}

Status attachToRootChild(AppState& state, const std::string& nodeName,
                         const std::string& meshName) {
    return attachToRootChild(state, nodeName, meshName, meshName);
}

Status attachToRootChild(AppState& state, const std::string& nodeName, const std::string& meshName,
                         const std::string& entityName) {
    Ogre::SceneNode* node = rootChildNamed(state, nodeName);
    if (node == nullptr) {
        return fail("WARN: No scene node named \"" + nodeName + "\"; mesh " + meshName +
                    " was built but not attached.");
    }
    node->attachObject(state.sceneManager->createEntity(entityName, meshName));
    return {};
}

std::vector<AddedModel> addModelFileAsNewNodes(AppState& state, const std::string& path) {
    std::vector<AddedModel> added;
    for (ModelRead& read : readModelsAt(path)) {
        std::string file = read.file;
        Result<BuiltMesh> built = buildOnNewNode(state, std::move(read));
        added.push_back({std::move(file), std::move(built)});
    }
    return added;
}

}  // namespace verada
