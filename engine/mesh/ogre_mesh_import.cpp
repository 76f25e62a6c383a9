#include "engine/mesh/ogre_mesh_import.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include <OgreEdgeListBuilder.h>
#include <OgreException.h>
#include <OgreHardwareBuffer.h>
#include <OgreHardwareIndexBuffer.h>
#include <OgreHardwareVertexBuffer.h>
#include <OgreMeshManager.h>
#include <OgreMeshSerializer.h>
#include <OgreSubMesh.h>

#include "engine/engine_setup.h"
#include "engine/mesh/bounded_buffer_manager.h"
#include "engine/mesh/mesh_origin.h"
#include "engine/mesh/strict_mesh_stream.h"
#include "engine/mesh/submesh_label.h"
#include "formats/io/file.h"
#include "formats/io/printf_text.h"
#include "formats/model/model_format.h"

namespace verada {
namespace {

constexpr char kSubmeshLacksVertices[] = "ERR: Submesh %u has no complete vertex data.";
constexpr char kSubmeshLacksIndices[] = "ERR: Submesh %u has no complete index data.";
constexpr char kSubmeshIndexOutOfRange[] = "ERR: Submesh %u points past its %zu vertices.";

class MaterialNames : public Ogre::MeshSerializerListener {
  public:
    void processMaterialName(Ogre::Mesh*, Ogre::String* name) override { names.push_back(*name); }
    void processSkeletonName(Ogre::Mesh*, Ogre::String*) override {}
    void processMeshCompleted(Ogre::Mesh*) override {}

    std::vector<std::string> names;
};

bool vertexDataComplete(const Ogre::VertexData* vertices) {
    if (vertices == nullptr ||
        vertices->vertexDeclaration->findElementBySemantic(Ogre::VES_POSITION) == nullptr) {
        return false;
    }
    for (const Ogre::VertexElement& element : vertices->vertexDeclaration->getElements()) {
        unsigned short source = element.getSource();
        if (!vertices->vertexBufferBinding->isBufferBound(source) ||
            vertices->vertexBufferBinding->getBuffer(source)->getNumVertices() <
                vertices->vertexStart + vertices->vertexCount) {
            return false;
        }
    }
    return true;
}

template <typename Index>
bool indicesBelow(const void* data, std::size_t count, std::size_t limit) {
    const auto* indices = static_cast<const Index*>(data);
    return std::all_of(indices, indices + count, [limit](Index i) { return i < limit; });
}

// A mesh cut between two chunks reads without error but may lack its vertex buffers; a damaged
// one may point past its vertices. Either would make the renderer read what is not there.
Status checkSubmeshes(const Ogre::Mesh& mesh) {
    for (unsigned index = 0; index < mesh.getNumSubMeshes(); ++index) {
        const Ogre::SubMesh& subMesh = *mesh.getSubMesh(index);
        const Ogre::VertexData* vertices =
            subMesh.useSharedVertices ? mesh.sharedVertexData : subMesh.vertexData;
        if (!vertexDataComplete(vertices)) {
            return fail(printfText(kSubmeshLacksVertices, index));
        }
        const Ogre::IndexData& faces = *subMesh.indexData;
        if (faces.indexCount == 0) {
            continue;
        }
        const Ogre::HardwareIndexBufferSharedPtr& buffer = faces.indexBuffer;
        if (!buffer || buffer->getNumIndexes() < faces.indexStart + faces.indexCount) {
            return fail(printfText(kSubmeshLacksIndices, index));
        }
        Ogre::HardwareBufferLockGuard lock(buffer, faces.indexStart * buffer->getIndexSize(),
                                           faces.indexCount * buffer->getIndexSize(),
                                           Ogre::HardwareBuffer::HBL_READ_ONLY);
        bool inRange =
            buffer->getType() == Ogre::HardwareIndexBuffer::IT_16BIT
                ? indicesBelow<std::uint16_t>(lock.pData, faces.indexCount, vertices->vertexCount)
                : indicesBelow<std::uint32_t>(lock.pData, faces.indexCount, vertices->vertexCount);
        if (!inRange) {
            return fail(printfText(kSubmeshIndexOutOfRange, index, vertices->vertexCount));
        }
    }
    return {};
}

// Ogre frees what its serializer built only when it unloads a loaded mesh, and a half-made
// one cannot be loaded (Ogre reads its missing buffers): its parts are freed here.
void discard(const Ogre::MeshPtr& mesh) {
    // Edge lists are marked built only once read whole; until then Ogre would not free them.
    // Manual levels after the first belong to meshes of their own.
    unsigned short owned = mesh->hasManualLodLevel() ? 1 : mesh->getNumLodLevels();
    for (unsigned short level = 0; level < owned; ++level) {
        const Ogre::MeshLodUsage& usage = mesh->getLodLevel(level);
        delete usage.edgeData;
        usage.edgeData = nullptr;
    }
    // Marked free first: removing the levels of a mesh whose edge lists count as built
    // rebuilds them, from geometry that may point past its vertices.
    mesh->freeEdgeList();
    mesh->removeLodLevels();
    mesh->removeAllPoses();
    mesh->removeAllAnimations();
    while (mesh->getNumSubMeshes() > 0) {
        mesh->destroySubMesh(0);
    }
    delete mesh->sharedVertexData;
    mesh->sharedVertexData = nullptr;
    Ogre::MeshManager::getSingleton().remove(mesh);
}

// After a failed import: the mesh back on Ogre's buffer manager, then its parts freed.
void discardHalfRead(const Ogre::MeshPtr& mesh) {
    if (mesh) {
        mesh->setHardwareBufferManager(nullptr);
        discard(mesh);
    }
}

}  // namespace

Result<ImportedOgreMesh> importOgreMesh(const std::string& meshName,
                                        std::vector<std::uint8_t> bytes) {
    Ogre::MeshManager& meshes = Ogre::MeshManager::getSingleton();
    ImportedOgreMesh imported;
    BoundedBufferManager bounded(bytes.size());
    try {
        imported.mesh = meshes.createManual(meshName, kMeshGroup);
        imported.mesh->setVertexBufferPolicy(Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
        imported.mesh->setIndexBufferPolicy(Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
        auto stream =
            std::make_shared<StrictMeshStream>(meshName, std::move(bytes), *imported.mesh);
        MaterialNames materials;
        Ogre::MeshSerializer serializer;
        serializer.setListener(&materials);
        imported.mesh->setHardwareBufferManager(&bounded);
        serializer.importMesh(stream, imported.mesh.get());
        imported.mesh->setHardwareBufferManager(nullptr);
        if (Status complete = checkSubmeshes(*imported.mesh); !complete) {
            discard(imported.mesh);
            return complete.failure();
        }
        imported.mesh->load();
        imported.materialNames = std::move(materials.names);
    } catch (const Ogre::Exception& error) {
        discardHalfRead(imported.mesh);
        return fail("ERR: " + error.getDescription());
    } catch (const std::exception& error) {
        // Counts Ogre allocates by before reading what they count, such as an edge list's.
        discardHalfRead(imported.mesh);
        return fail(std::string("ERR: Mesh data cannot be held in memory (") + error.what() + ").");
    }
    return imported;
}

Result<ImportedOgreMesh> importOgreMeshFile(const std::string& path, const std::string& meshName) {
    std::optional<std::vector<std::uint8_t>> bytes = readWholeFile(path);
    if (!bytes) {
        return fail(kFileMissingError);
    }
    Result<ImportedOgreMesh> imported = importOgreMesh(meshName, std::move(*bytes));
    if (imported) {
        recordMeshOrigin(*imported->mesh, path);
    }
    return imported;
}

Result<std::vector<SubmeshSummary>> describeOgreMeshFile(const std::string& path) {
    Result<ImportedOgreMesh> imported = importOgreMeshFile(path, path);
    if (!imported) {
        return imported.failure();
    }
    const Ogre::Mesh& mesh = *imported->mesh;
    std::vector<SubmeshSummary> submeshes;
    for (unsigned index = 0; index < mesh.getNumSubMeshes(); ++index) {
        const Ogre::SubMesh& subMesh = *mesh.getSubMesh(index);
        const Ogre::VertexData* vertices =
            subMesh.useSharedVertices ? mesh.sharedVertexData : subMesh.vertexData;
        SubmeshSummary summary;
        summary.label = buildSubmeshLabel(mesh, index);
        if (index < imported->materialNames.size()) {
            summary.material = imported->materialNames[index];
        }
        summary.vertexCount = vertices != nullptr ? vertices->vertexCount : 0;
        summary.faceCount = subMesh.indexData->indexCount / 3;
        summary.sharedVertices = subMesh.useSharedVertices;
        submeshes.push_back(std::move(summary));
    }
    Ogre::MeshManager::getSingleton().remove(imported->mesh);
    return submeshes;
}

}  // namespace verada
