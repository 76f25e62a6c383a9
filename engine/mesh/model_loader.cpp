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

Result<BuiltMesh> buildFromRead(Result<ImportedModel> read, const std::string& path) {
    if (!read) {
        Result<BuiltMesh> failed = read.failure();
        failed.takeWarnings(read);
        return failed;
    }
    Result<BuiltMesh> built = buildMeshFromModel(read.value(), path);
    built.takeWarnings(read);
    recordMeshOrigin(*Ogre::MeshManager::getSingleton().getByName(built->name, kMeshGroup), path);
    return built;
}

// The model built and shown on a new node named after it.
Result<BuiltMesh> buildOnNewNode(AppState& state, Result<ImportedModel> model,
                                 const std::string& name) {
    try {
        Result<BuiltMesh> built = buildFromRead(std::move(model), name);
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
    return buildFromRead(readModelFile(format, path), path);
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
        Result<BuiltMesh> built = buildOnNewNode(state, std::move(read.model), read.name);
        added.push_back({read.file, std::move(built)});
    }
    return added;
}

}  // namespace verada
