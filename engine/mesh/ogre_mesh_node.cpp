#include "engine/mesh/ogre_mesh_node.h"

#include <filesystem>

#include <OgreEntity.h>
#include <OgreException.h>
#include <OgreMeshManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

#include "engine/engine_setup.h"
#include "engine/mesh/model_loader.h"
#include "engine/mesh/ogre_mesh_import.h"
#include "engine/scene/unique_name.h"
#include "formats/io/path.h"

namespace verada {
namespace {

// The mesh of that name, imported from path when there is none yet.
Status provideMesh(const std::string& path, const std::string& meshName) {
    if (Ogre::MeshManager::getSingleton().resourceExists(meshName, Ogre::RGN_AUTODETECT)) {
        return {};
    }
    std::string folder = std::filesystem::absolute(path).parent_path().string();
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    if (!groups.resourceLocationExists(folder, kMeshGroup)) {
        groups.addResourceLocation(folder, "FileSystem", kMeshGroup, false);
    }
    Result<ImportedOgreMesh> imported = importOgreMeshFile(path, meshName);
    if (!imported) {
        return imported.failure();
    }
    return {};
}

}  // namespace

Result<OgreMeshNode> loadOgreMeshFile(AppState& state, const std::string& path,
                                      const std::string& nodeName) {
    Ogre::SceneManager& scene = *state.sceneManager;
    OgreMeshNode shown;
    shown.meshName = std::filesystem::path(path).filename().string();
    std::string base = baseName(path);
    try {
        if (Status provided = provideMesh(path, shown.meshName); !provided) {
            return provided.failure();
        }
        shown.entityName =
            uniqueName(base, [&scene](const std::string& name) { return scene.hasEntity(name); });
        if (!nodeName.empty()) {
            shown.nodeName = nodeName;
            if (Status attached =
                    attachToRootChild(state, nodeName, shown.meshName, shown.entityName);
                !attached) {
                return attached.failure();
            }
            return shown;
        }
        shown.nodeName = uniqueName(
            base, [&scene](const std::string& name) { return scene.hasSceneNode(name); });
        Ogre::SceneNode* node = scene.getRootSceneNode()->createChildSceneNode(
            shown.nodeName, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY);
        node->attachObject(scene.createEntity(shown.entityName, shown.meshName));
    } catch (const Ogre::Exception& error) {
        return fail("ERR: " + error.getDescription());
    }
    return shown;
}

}  // namespace verada
