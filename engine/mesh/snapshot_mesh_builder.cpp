#include "engine/mesh/snapshot_mesh_builder.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include <OgreHardwareBufferManager.h>
#include <OgreMeshManager.h>
#include <OgreSubMesh.h>

#include "engine/engine_setup.h"
#include "engine/mesh/mesh_builder.h"

namespace verada {
namespace {

constexpr std::size_t kFloatsPerVertex = 8;

float component(const std::vector<float>& values, std::size_t i) {
    return i < values.size() ? values[i] : 0.0f;
}

std::unique_ptr<Ogre::VertexData> buildVertexData(const VertexArrays& arrays) {
    auto data = std::make_unique<Ogre::VertexData>();
    Ogre::VertexDeclaration& declaration = *data->vertexDeclaration;
    declareModelVertex(declaration);
    data->vertexCount = arrays.vertexCount;
    if (arrays.vertexCount == 0) {
        return data;
    }
    Ogre::HardwareVertexBufferSharedPtr buffer =
        Ogre::HardwareBufferManager::getSingleton().createVertexBuffer(
            declaration.getVertexSize(0), arrays.vertexCount,
            Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
    data->vertexBufferBinding->setBinding(0, buffer);
    Ogre::HardwareBufferLockGuard lock(buffer, Ogre::HardwareBuffer::HBL_DISCARD);
    auto* out = static_cast<float*>(lock.pData);
    for (std::size_t i = 0; i < arrays.vertexCount; ++i, out += kFloatsPerVertex) {
        for (std::size_t c = 0; c < 3; ++c) {
            out[c] = component(arrays.positions, 3 * i + c);
            out[3 + c] = component(arrays.normals, 3 * i + c);
        }
        out[6] = component(arrays.uvs, 2 * i);
        out[7] = component(arrays.uvs, 2 * i + 1);
    }
    return data;
}

template <typename Index>
void fillIndices(void* data, const std::vector<std::uint32_t>& indices) {
    std::transform(indices.begin(), indices.end(), static_cast<Index*>(data),
                   [](std::uint32_t index) { return static_cast<Index>(index); });
}

void buildIndexData(const SubmeshSnapshot& submesh, Ogre::IndexData& data) {
    data.indexCount = submesh.indices.size();
    if (submesh.indices.empty()) {
        return;
    }
    data.indexBuffer = Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(
        submesh.indices32 ? Ogre::HardwareIndexBuffer::IT_32BIT
                          : Ogre::HardwareIndexBuffer::IT_16BIT,
        submesh.indices.size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
    Ogre::HardwareBufferLockGuard lock(data.indexBuffer, Ogre::HardwareBuffer::HBL_DISCARD);
    if (submesh.indices32) {
        fillIndices<std::uint32_t>(lock.pData, submesh.indices);
    } else {
        fillIndices<std::uint16_t>(lock.pData, submesh.indices);
    }
}

// Ogre aborts on a box whose minimum lies above its maximum.
Ogre::AxisAlignedBox boundingBox(const std::array<float, 6>& bounds) {
    Ogre::Vector3 low(bounds[0], bounds[1], bounds[2]);
    Ogre::Vector3 high(bounds[3], bounds[4], bounds[5]);
    Ogre::Vector3 minimum = low;
    minimum.makeFloor(high);
    high.makeCeil(low);
    return Ogre::AxisAlignedBox(minimum, high);
}

}  // namespace

Ogre::MeshPtr buildMeshFromSnapshot(const MeshSnapshot& snapshot, const std::string& name) {
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(name, kMeshGroup);
    if (snapshot.sharedVertices) {
        mesh->sharedVertexData = buildVertexData(*snapshot.sharedVertices).release();
    }
    for (const SubmeshSnapshot& submesh : snapshot.submeshes) {
        Ogre::SubMesh* subMesh = mesh->createSubMesh(submesh.label);
        subMesh->useSharedVertices = submesh.useSharedVertices && mesh->sharedVertexData;
        if (!subMesh->useSharedVertices) {
            subMesh->vertexData = buildVertexData(submesh.vertices).release();
        }
        buildIndexData(submesh, *subMesh->indexData);
    }
    mesh->_setBounds(boundingBox(snapshot.bounds), false);
    mesh->load();
    return mesh;
}

}  // namespace verada
