#include "engine/mesh/mesh_builder.h"

#include <algorithm>
#include <cstring>

#include <OgreHardwareBufferManager.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreSubMesh.h>

#include "platform/application_identity.h"
#include "engine/engine_setup.h"

namespace verada {
namespace {

constexpr const char* kFaceIndexOutOfRange = "fc index out of range";

// A name not yet used by any mesh: the name itself, else the first free of "%s%d".
std::string uniqueMeshName(const std::string& base) {
    Ogre::MeshManager& meshes = Ogre::MeshManager::getSingleton();
    if (!meshes.resourceExists(base, Ogre::RGN_AUTODETECT)) {
        return base;
    }
    for (unsigned counter = 0;; ++counter) {
        std::string candidate = base + std::to_string(counter);
        if (!meshes.resourceExists(candidate, Ogre::RGN_AUTODETECT)) {
            return candidate;
        }
    }
}

void tell(AppState& state, const char* text) {
    state.platform->messageBox(state.mainWindow, text, kApplicationCaption, MessageButtons::Ok,
                               MessageIcon::None);
}

// Every array must be present; each missing one gets its own message.
bool groupArraysPresent(AppState& state, const ModelGroup& group) {
    bool complete = true;
    const std::pair<const void*, const char*> arrays[] = {{group.positions, "null vt pointer"},
                                                          {group.normals, "null nm pointer"},
                                                          {group.uvs, "null uv pointer"},
                                                          {group.faces, "null fc pointer"}};
    for (const auto& [array, message] : arrays) {
        if (array == nullptr) {
            tell(state, message);
            complete = false;
        }
    }
    return complete;
}

// A face that points past the group's vertices would make the renderer read outside the
// vertex buffer.
bool faceIndicesInRange(const ModelGroup& group) {
    const std::size_t indexCount = 3 * static_cast<std::size_t>(std::max(group.faceCount, 0));
    return std::all_of(group.faces, group.faces + indexCount,
                       [&](std::uint16_t index) { return index < group.vertexCount; });
}

void buildSubMesh(Ogre::Mesh& mesh, const ModelGroup& group) {
    Ogre::SubMesh* subMesh = mesh.createSubMesh(group.name);
    subMesh->useSharedVertices = false;
    subMesh->vertexData = new Ogre::VertexData();
    Ogre::VertexData& vertexData = *subMesh->vertexData;

    Ogre::VertexDeclaration& declaration = *vertexData.vertexDeclaration;
    const std::size_t float3 = Ogre::VertexElement::getTypeSize(Ogre::VET_FLOAT3);
    declaration.addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    declaration.addElement(0, float3, Ogre::VET_FLOAT3, Ogre::VES_NORMAL);
    declaration.addElement(0, 2 * float3, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0);
    vertexData.vertexCount = static_cast<std::size_t>(group.vertexCount);

    Ogre::HardwareBufferManager& buffers = Ogre::HardwareBufferManager::getSingleton();
    Ogre::HardwareVertexBufferSharedPtr vertexBuffer =
        buffers.createVertexBuffer(declaration.getVertexSize(0), vertexData.vertexCount,
                                   Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, false);
    vertexData.vertexBufferBinding->setBinding(0, vertexBuffer);

    auto* out = static_cast<float*>(vertexBuffer->lock(Ogre::HardwareBuffer::HBL_DISCARD));
    for (std::int32_t v = 0; v < group.vertexCount; ++v) {
        std::memcpy(out, group.positions + 3 * v, 3 * sizeof(float));
        std::memcpy(out + 3, group.normals + 3 * v, 3 * sizeof(float));
        std::memcpy(out + 6, group.uvs + 2 * v, 2 * sizeof(float));
        out += 8;
    }

    const std::size_t indexCount = 3 * static_cast<std::size_t>(group.faceCount);
    subMesh->indexData->indexCount = indexCount;
    Ogre::HardwareIndexBufferSharedPtr indexBuffer =
        buffers.createIndexBuffer(Ogre::HardwareIndexBuffer::IT_16BIT, indexCount,
                                  Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, false);
    subMesh->indexData->indexBuffer = indexBuffer;
    void* indices = indexBuffer->lock(Ogre::HardwareBuffer::HBL_DISCARD);
    std::memcpy(indices, group.faces, indexCount * sizeof(std::uint16_t));

    vertexBuffer->unlock();
    indexBuffer->unlock();
}

}  // namespace

std::string baseNameOf(const std::string& fileName) {
    std::size_t folderEnd = fileName.find_last_of("/\\");
    std::string name = folderEnd == std::string::npos ? fileName : fileName.substr(folderEnd + 1);
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string buildMeshFromModel(AppState& state, const ImportedModel& model,
                               const std::string& fileName) {
    std::string meshName = uniqueMeshName(baseNameOf(fileName));
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(meshName, kMeshGroup);

    bool boxSet = false;
    Ogre::Vector3 boxMin = Ogre::Vector3::ZERO;
    Ogre::Vector3 boxMax = Ogre::Vector3::ZERO;
    for (const ModelGroup& group : model.groups) {
        if (!groupArraysPresent(state, group)) {
            continue;
        }
        if (group.faceCount <= 0) {
            continue;  // nothing to draw, and an empty buffer cannot be created
        }
        if (!faceIndicesInRange(group)) {
            tell(state, kFaceIndexOutOfRange);
            continue;
        }
        buildSubMesh(*mesh, group);

        Ogre::Vector3 groupMin(group.boundsMin.data());
        Ogre::Vector3 groupMax(group.boundsMax.data());
        if (!boxSet) {
            boxMin = groupMin;
            boxMax = groupMax;
            boxSet = true;
        } else {
            boxMin.makeFloor(groupMin);
            boxMax.makeCeil(groupMax);
        }
    }

    mesh->_setBounds(Ogre::AxisAlignedBox(boxMin, boxMax), false);
    mesh->load();
    return meshName;
}

}  // namespace verada
