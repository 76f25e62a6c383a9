#include "engine/mesh/mesh_builder.h"

#include <algorithm>
#include <cstring>

#include <OgreHardwareBufferManager.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreSubMesh.h>

#include "engine/engine_setup.h"
#include "engine/scene/unique_name.h"
#include "formats/io/path.h"

namespace verada {
namespace {

constexpr const char* kFaceIndexOutOfRange = "fc index out of range";

// Normals and texture coordinates must cover every vertex; each short array gets its own text.
bool groupArraysComplete(const ModelGroup& group, std::vector<std::string>& leftOut) {
    const std::size_t vertices = static_cast<std::size_t>(group.vertexCount());
    bool complete = true;
    if (group.normals.size() < 3 * vertices) {
        leftOut.push_back("null nm pointer");
        complete = false;
    }
    if (group.uvs.size() < 2 * vertices) {
        leftOut.push_back("null uv pointer");
        complete = false;
    }
    return complete;
}

// A face that points past the group's vertices would make the renderer read outside the
// vertex buffer.
bool faceIndicesInRange(const ModelGroup& group) {
    return std::all_of(group.faces.begin(), group.faces.end(),
                       [&](std::uint16_t index) { return index < group.vertexCount(); });
}

void buildSubMesh(Ogre::Mesh& mesh, const ModelGroup& group) {
    Ogre::SubMesh* subMesh = mesh.createSubMesh(group.name);
    subMesh->useSharedVertices = false;
    subMesh->vertexData = new Ogre::VertexData();
    Ogre::VertexData& vertexData = *subMesh->vertexData;

    Ogre::VertexDeclaration& declaration = *vertexData.vertexDeclaration;
    declareModelVertex(declaration);
    vertexData.vertexCount = static_cast<std::size_t>(group.vertexCount());

    Ogre::HardwareBufferManager& buffers = Ogre::HardwareBufferManager::getSingleton();
    // A shadow copy in memory: the render system's own buffer need not read back, and framing
    // reads the positions.
    Ogre::HardwareVertexBufferSharedPtr vertexBuffer =
        buffers.createVertexBuffer(declaration.getVertexSize(0), vertexData.vertexCount,
                                   Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
    vertexData.vertexBufferBinding->setBinding(0, vertexBuffer);

    auto* out = static_cast<float*>(vertexBuffer->lock(Ogre::HardwareBuffer::HBL_DISCARD));
    for (std::size_t v = 0; v < vertexData.vertexCount; ++v) {
        std::memcpy(out, &group.positions[3 * v], 3 * sizeof(float));
        std::memcpy(out + 3, &group.normals[3 * v], 3 * sizeof(float));
        std::memcpy(out + 6, &group.uvs[2 * v], 2 * sizeof(float));
        out += 8;
    }

    const std::size_t indexCount = group.faces.size();
    subMesh->indexData->indexCount = indexCount;
    // The scene file and the exports read the faces back: a shadow copy too.
    Ogre::HardwareIndexBufferSharedPtr indexBuffer =
        buffers.createIndexBuffer(Ogre::HardwareIndexBuffer::IT_16BIT, indexCount,
                                  Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
    subMesh->indexData->indexBuffer = indexBuffer;
    void* indices = indexBuffer->lock(Ogre::HardwareBuffer::HBL_DISCARD);
    std::memcpy(indices, group.faces.data(), indexCount * sizeof(std::uint16_t));

    vertexBuffer->unlock();
    indexBuffer->unlock();
}

}  // namespace

void declareModelVertex(Ogre::VertexDeclaration& declaration) {
    const std::size_t float3 = Ogre::VertexElement::getTypeSize(Ogre::VET_FLOAT3);
    declaration.addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    declaration.addElement(0, float3, Ogre::VET_FLOAT3, Ogre::VES_NORMAL);
    declaration.addElement(0, 2 * float3, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0);
}

BuiltMesh buildMeshFromModel(const ImportedModel& model, const std::string& fileName) {
    BuiltMesh built;
    Ogre::MeshManager& meshes = Ogre::MeshManager::getSingleton();
    built.name = uniqueName(baseName(fileName), [&meshes](const std::string& name) {
        return meshes.resourceExists(name, Ogre::RGN_AUTODETECT);
    });
    Ogre::MeshPtr mesh = meshes.createManual(built.name, kMeshGroup);

    bool boxSet = false;
    Ogre::Vector3 boxMin = Ogre::Vector3::ZERO;
    Ogre::Vector3 boxMax = Ogre::Vector3::ZERO;
    for (const ModelGroup& group : model.groups) {
        if (!groupArraysComplete(group, built.leftOut)) {
            continue;
        }
        if (group.faceCount() <= 0) {
            continue;  // nothing to draw, and an empty buffer cannot be created
        }
        if (!faceIndicesInRange(group)) {
            built.leftOut.push_back(kFaceIndexOutOfRange);
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
    return built;
}

}  // namespace verada
