#include "engine/export/ogre_mesh_export.h"

#include <memory>
#include <vector>

#include <OgreDataStream.h>
#include <OgreEntity.h>
#include <OgreException.h>
#include <OgreMaterialManager.h>
#include <OgreMesh.h>
#include <OgreMeshSerializer.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSubMesh.h>

#include "engine/export/export_texts.h"
#include "engine/scene/scene_nodes.h"
#include "formats/io/atomic_file.h"
#include "formats/io/printf_text.h"

namespace verada {
namespace {

// Hands what the serializer writes to the atomic file, which it only ever appends to.
class AtomicFileStream : public Ogre::DataStream {
  public:
    explicit AtomicFileStream(AtomicFile& file) : Ogre::DataStream(WRITE), file_(file) {}

    std::size_t read(void*, std::size_t) override { return 0; }
    std::size_t write(const void* bytes, std::size_t count) override {
        std::size_t written = file_.write(bytes, count);
        position_ += written;
        failed_ = failed_ || written != count;
        return written;
    }
    void skip(long) override { refuseMove(); }
    void seek(std::size_t) override { refuseMove(); }
    std::size_t tell() const override { return position_; }
    bool eof() const override { return false; }
    void close() override {}

    bool failed() const { return failed_; }

  private:
    [[noreturn]] void refuseMove() const {
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALID_CALL, "the mesh file is written front to back",
                    "AtomicFileStream");
    }

    AtomicFile& file_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

// Gives the submeshes without a material "BaseWhite", what their entities show, for as long as
// it lives: an empty material name is refused by programs reading the file (the mesh upgrader).
class BaseWhiteForUnnamed {
  public:
    explicit BaseWhiteForUnnamed(const Ogre::Mesh& mesh) {
        Ogre::MaterialPtr baseWhite = Ogre::MaterialManager::getSingleton().getDefaultMaterial();
        for (Ogre::SubMesh* submesh : mesh.getSubMeshes()) {
            if (submesh->getMaterialName().empty()) {
                submesh->setMaterial(baseWhite);
                unnamed_.push_back(submesh);
            }
        }
    }
    ~BaseWhiteForUnnamed() {
        for (Ogre::SubMesh* submesh : unnamed_) {
            submesh->setMaterial(Ogre::MaterialPtr());
        }
    }
    BaseWhiteForUnnamed(const BaseWhiteForUnnamed&) = delete;
    BaseWhiteForUnnamed& operator=(const BaseWhiteForUnnamed&) = delete;

  private:
    std::vector<Ogre::SubMesh*> unnamed_;
};

Ogre::MeshVersion serializerVersion(MeshFileVersion version) {
    return version == MeshFileVersion::V1_8 ? Ogre::MESH_VERSION_1_8 : Ogre::MESH_VERSION_LATEST;
}

// The mesh through Ogre's serializer into a temporary beside path, which replaces path once
// complete.
Status writeOgreMeshFile(const Ogre::Mesh& mesh, const std::string& path, MeshFileVersion version) {
    AtomicFile file(path);
    if (!file.isOpen()) {
        return failWriting(path, printfText(exporting::kUnableToCreateFile, path.c_str()));
    }
    try {
        BaseWhiteForUnnamed names(mesh);
        auto stream = std::make_shared<AtomicFileStream>(file);
        Ogre::MeshSerializer().exportMesh(&mesh, stream, serializerVersion(version),
                                          Ogre::Serializer::ENDIAN_NATIVE);
        if (stream->failed() || !file.commit()) {
            return failWriting(path, printfText(exporting::kUnableToWriteFile, path.c_str()));
        }
    } catch (const Ogre::Exception& error) {
        return fail("ERR: " + error.getDescription());
    }
    return Done{};
}

std::string listed(const std::string& name) {
    return name.substr(0, NameList::kMaxNameLength);
}

Ogre::Entity* asEntity(Ogre::MovableObject* object) {
    return object->getMovableType() == Ogre::EntityFactory::FACTORY_TYPE_NAME
               ? static_cast<Ogre::Entity*>(object)
               : nullptr;
}

Ogre::Entity* entityNamed(const AppState& state, const std::string& entityName) {
    for (Ogre::Node* child : state.sceneManager->getRootSceneNode()->getChildren()) {
        for (Ogre::MovableObject* object :
             static_cast<Ogre::SceneNode*>(child)->getAttachedObjects()) {
            if (listed(object->getName()) == listed(entityName)) {
                if (Ogre::Entity* entity = asEntity(object)) {
                    return entity;
                }
            }
        }
    }
    return nullptr;
}

Ogre::Entity* firstEntityOf(const Ogre::SceneNode& node) {
    for (Ogre::MovableObject* object : node.getAttachedObjects()) {
        if (Ogre::Entity* entity = asEntity(object)) {
            return entity;
        }
    }
    return nullptr;
}

Status saveMeshOf(const Ogre::Entity* entity, const std::string& path, MeshFileVersion version) {
    if (entity == nullptr || !entity->getMesh()) {
        return fail(exporting::kSaveMeshFailed);
    }
    return writeOgreMeshFile(*entity->getMesh(), path, version);
}

}  // namespace

NameList listEntityNames(const AppState& state) {
    NameList names;
    for (Ogre::Node* child : state.sceneManager->getRootSceneNode()->getChildren()) {
        for (Ogre::MovableObject* object :
             static_cast<Ogre::SceneNode*>(child)->getAttachedObjects()) {
            names.add(object->getName());
        }
    }
    return names;
}

Status saveEntityMesh(const AppState& state, const std::string& entityName, const std::string& path,
                      MeshFileVersion version) {
    return saveMeshOf(entityNamed(state, entityName), path, version);
}

Status saveNodeMesh(const AppState& state, const std::string& nodeName, const std::string& path,
                    MeshFileVersion version) {
    const Ogre::SceneNode* node = nullptr;
    if (nodeName.empty()) {
        std::vector<Ogre::SceneNode*> models = modelNodes(state);
        node = models.empty() ? nullptr : models.front();
    } else {
        node = rootChildNamed(state, nodeName);
    }
    return saveMeshOf(node == nullptr ? nullptr : firstEntityOf(*node), path, version);
}

}  // namespace verada
