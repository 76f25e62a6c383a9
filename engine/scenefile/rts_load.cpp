#include "engine/scenefile/rts_load.h"

#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreException.h>
#include <OgreLight.h>
#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSubEntity.h>
#include <OgreViewport.h>

#include "engine/engine_setup.h"
#include "engine/mesh/snapshot_mesh_builder.h"
#include "engine/scene/scene_nodes.h"
#include "engine/scene/unique_name.h"
#include "formats/io/printf_text.h"
#include "formats/scenefile/rts_reader.h"
#include "formats/scenefile/rts_texts.h"

namespace verada {
namespace {

void renderFrame(AppState& state) {
    if (state.renderFrame) {
        state.renderFrame();
    }
}

void applyView(AppState& state, const ViewSettings& view) {
    state.viewSettings = view;
    applyLightSettings(*state.sceneManager->getLight(kLightName), view);
    if (state.camera != nullptr) {
        applyCameraSettings(*state.camera, view);
    }
    if (state.viewport != nullptr) {
        state.viewport->setBackgroundColour(
            Ogre::ColourValue(view.bgndRed, view.bgndGreen, view.bgndBlue, view.bgndAlpha));
    }
}

Ogre::SceneNode* createNode(Ogre::SceneManager& sceneManager, const NodeSnapshot& node) {
    std::string name =
        uniqueName(node.name, [&](const std::string& n) { return sceneManager.hasSceneNode(n); });
    Ogre::SceneNode* created = sceneManager.getRootSceneNode()->createChildSceneNode(
        name, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY);
    const auto& [x, y, z, w] = node.orientation;
    created->setPosition(node.position[0], node.position[1], node.position[2]);
    created->setOrientation(Ogre::Quaternion(w, x, y, z));
    created->setScale(node.scale[0], node.scale[1], node.scale[2]);
    return created;
}

Status buildObject(Ogre::SceneManager& sceneManager, Ogre::SceneNode& node,
                   const ObjectSnapshot& object, const SceneSnapshot& scene) {
    if (Ogre::MeshManager::getSingleton().resourceExists(object.name, Ogre::RGN_AUTODETECT)) {
        return fail(printfText(rts::kMeshNameInUse, object.name.c_str()));
    }
    static const MeshSnapshot noMesh;
    buildMeshFromSnapshot(object.mesh < scene.meshes.size() ? scene.meshes[object.mesh] : noMesh,
                          object.name);
    node.attachObject(sceneManager.createEntity(object.name, object.name, kMeshGroup));
    for (unsigned s = 0; s < object.submeshMaterials.size(); ++s) {
        Status assigned =
            assignRtsSubMeshMaterial(node, object.name, s, object.submeshMaterials[s]);
        if (!assigned) {
            return assigned;
        }
    }
    return Done{};
}

Status buildScene(AppState& state, const SceneSnapshot& scene) {
    Ogre::SceneManager& sceneManager = *state.sceneManager;
    for (const NodeSnapshot& node : scene.nodes) {
        Ogre::SceneNode* created = createNode(sceneManager, node);
        for (const ObjectSnapshot& object : node.objects) {
            if (Status built = buildObject(sceneManager, *created, object, scene); !built) {
                return built;
            }
            renderFrame(state);
        }
    }
    return Done{};
}

}  // namespace

Status assignRtsSubMeshMaterial(Ogre::SceneNode& node, const std::string& objectName,
                                unsigned subMesh, const std::string& materialName) {
    for (Ogre::MovableObject* object : node.getAttachedObjects()) {
        if (object->getName() != objectName) {
            continue;
        }
        if (object->getMovableType() != Ogre::EntityFactory::FACTORY_TYPE_NAME) {
            return fail(rts::kEntitySanity);
        }
        auto* entity = static_cast<Ogre::Entity*>(object);
        if (!entity->getMesh()) {
            return fail(rts::kMeshPointer);
        }
        // An index past the mesh's submeshes is the file's fault, not Ogre's to throw on.
        if (subMesh >= entity->getNumSubEntities()) {
            return fail(rts::kSubmeshCountSanity);
        }
        entity->getSubEntity(subMesh)->setMaterialName(materialName);
        return Done{};
    }
    return Done{};
}

Status loadRtsFile(AppState& state, const std::string& path) {
    Result<RtsScene> read = readRtsFile(path, state.viewSettings);
    if (!read) {
        return read.failure();
    }
    try {
        removeAllNodes(state);
        renderFrame(state);
        applyView(state, read->view);
        renderFrame(state);
        if (Status built = buildScene(state, read->scene); !built) {
            return built;
        }
    } catch (const Ogre::Exception& error) {
        return fail("ERR: " + error.getDescription());
    }
    if (!read->error.empty()) {
        return fail(read->error);
    }
    return Done{};
}

}  // namespace verada
