#include "engine/scene/scene_capture.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_map>
#include <vector>

#include <OgreEntity.h>
#include <OgreHardwareBuffer.h>
#include <OgreHardwareIndexBuffer.h>
#include <OgreHardwareVertexBuffer.h>
#include <OgreMaterialManager.h>
#include <OgreMesh.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSubEntity.h>
#include <OgreSubMesh.h>

#include "engine/materials/material_layer.h"
#include "engine/mesh/submesh_label.h"

namespace verada {
namespace {

// An element of a vertex data to be copied out: `width` floats a vertex into `out`.
struct WantedElement {
    std::size_t offset;
    std::size_t width;
    std::vector<float>* out;
};

// The position, normal and texture coordinates that are of the one float type each is read
// as, grouped by the source they are bound to, so that every buffer is locked once.
std::map<unsigned short, std::vector<WantedElement>> wantedElements(const Ogre::VertexData& data,
                                                                    VertexArrays& arrays) {
    struct Wanted {
        Ogre::VertexElementSemantic semantic;
        Ogre::VertexElementType type;
        std::size_t width;
        std::vector<float>* out;
    };
    const Wanted wanted[] = {
        {Ogre::VES_POSITION, Ogre::VET_FLOAT3, 3, &arrays.positions},
        {Ogre::VES_NORMAL, Ogre::VET_FLOAT3, 3, &arrays.normals},
        {Ogre::VES_TEXTURE_COORDINATES, Ogre::VET_FLOAT2, 2, &arrays.uvs},
    };
    std::map<unsigned short, std::vector<WantedElement>> bySource;
    for (const Wanted& w : wanted) {
        const Ogre::VertexElement* element =
            data.vertexDeclaration->findElementBySemantic(w.semantic, 0);
        if (element != nullptr && element->getType() == w.type &&
            data.vertexBufferBinding->isBufferBound(element->getSource())) {
            bySource[element->getSource()].push_back({element->getOffset(), w.width, w.out});
        }
    }
    return bySource;
}

// Copies the elements of one buffer for every vertex of the data, or none of them when the
// buffer does not hold them all.
void readSource(const Ogre::HardwareVertexBufferSharedPtr& buffer, const Ogre::VertexData& data,
                std::vector<WantedElement> elements) {
    const std::size_t stride = buffer->getVertexSize();
    if (buffer->getNumVertices() < data.vertexStart ||
        buffer->getNumVertices() - data.vertexStart < data.vertexCount) {
        return;
    }
    elements.erase(std::remove_if(elements.begin(), elements.end(),
                                  [stride](const WantedElement& e) {
                                      return e.offset + e.width * sizeof(float) > stride;
                                  }),
                   elements.end());
    if (elements.empty() || data.vertexCount == 0) {
        return;
    }
    Ogre::HardwareBufferLockGuard lock(buffer, data.vertexStart * stride, data.vertexCount * stride,
                                       Ogre::HardwareBuffer::HBL_READ_ONLY);
    const auto* vertex = static_cast<const unsigned char*>(lock.pData);
    for (WantedElement& element : elements) {
        element.out->resize(data.vertexCount * element.width);
    }
    for (std::size_t i = 0; i < data.vertexCount; ++i, vertex += stride) {
        for (const WantedElement& element : elements) {
            std::memcpy(element.out->data() + i * element.width, vertex + element.offset,
                        element.width * sizeof(float));
        }
    }
}

VertexArrays captureVertices(const Ogre::VertexData& data) {
    VertexArrays arrays;
    arrays.vertexCount = data.vertexCount;
    for (auto& [source, elements] : wantedElements(data, arrays)) {
        readSource(data.vertexBufferBinding->getBuffer(source), data, std::move(elements));
    }
    return arrays;
}

template <typename Index>
void copyIndices(const void* data, std::size_t count, std::vector<std::uint32_t>& out) {
    const auto* indices = static_cast<const Index*>(data);
    out.assign(indices, indices + count);
}

void captureIndices(const Ogre::IndexData* data, SubmeshSnapshot& submesh) {
    const Ogre::HardwareIndexBufferSharedPtr* buffer =
        data != nullptr && data->indexBuffer ? &data->indexBuffer : nullptr;
    if (buffer == nullptr || (*buffer)->getNumIndexes() < data->indexStart ||
        (*buffer)->getNumIndexes() - data->indexStart < data->indexCount) {
        submesh.hasIndexData = false;
        return;
    }
    submesh.indices32 = (*buffer)->getType() == Ogre::HardwareIndexBuffer::IT_32BIT;
    if (data->indexCount == 0) {
        return;
    }
    const std::size_t size = (*buffer)->getIndexSize();
    Ogre::HardwareBufferLockGuard lock(*buffer, data->indexStart * size, data->indexCount * size,
                                       Ogre::HardwareBuffer::HBL_READ_ONLY);
    if (submesh.indices32) {
        copyIndices<std::uint32_t>(lock.pData, data->indexCount, submesh.indices);
    } else {
        copyIndices<std::uint16_t>(lock.pData, data->indexCount, submesh.indices);
    }
}

std::vector<MaterialLayerSettings> captureLayers(const std::string& materialName) {
    std::vector<MaterialLayerSettings> layers;
    MaterialLayerSettings first;
    first.materialName = materialName;
    if (!readMaterialLayer(first, 0)) {
        return layers;
    }
    layers.push_back(first);
    for (int layer = 1; layer < first.layerCount; ++layer) {
        MaterialLayerSettings settings;
        settings.materialName = materialName;
        readMaterialLayer(settings, layer);
        layers.push_back(std::move(settings));
    }
    return layers;
}

std::vector<MaterialSnapshot> captureMaterials() {
    std::vector<MaterialSnapshot> materials;
    auto resources = Ogre::MaterialManager::getSingleton().getResourceIterator();
    while (resources.hasMoreElements()) {
        const std::string& name = resources.getNext()->getName();
        materials.push_back({name, captureLayers(name)});
    }
    return materials;
}

// Meshes by the engine's object, so that each is captured once.
class MeshTable {
  public:
    explicit MeshTable(std::vector<MeshSnapshot>& meshes) : meshes_(meshes) {}

    std::size_t indexOf(const Ogre::Mesh& mesh) {
        auto [found, added] = indices_.try_emplace(&mesh, meshes_.size());
        if (added) {
            meshes_.push_back(captureMesh(mesh));
        }
        return found->second;
    }

  private:
    std::vector<MeshSnapshot>& meshes_;
    std::unordered_map<const Ogre::Mesh*, std::size_t> indices_;
};

ObjectSnapshot captureObject(const Ogre::MovableObject& object, MeshTable& meshes) {
    ObjectSnapshot snapshot;
    snapshot.name = object.getName();
    snapshot.visible = object.getVisible();
    snapshot.mesh = kNoMesh;
    if (object.getMovableType() != Ogre::EntityFactory::FACTORY_TYPE_NAME) {
        return snapshot;
    }
    const auto& entity = static_cast<const Ogre::Entity&>(object);
    for (std::size_t s = 0; s < entity.getNumSubEntities(); ++s) {
        snapshot.submeshMaterials.push_back(entity.getSubEntity(s)->getMaterialName());
    }
    if (const Ogre::MeshPtr& mesh = entity.getMesh()) {
        snapshot.mesh = meshes.indexOf(*mesh);
    }
    return snapshot;
}

NodeSnapshot captureNode(const Ogre::SceneNode& node, MeshTable& meshes) {
    NodeSnapshot snapshot;
    snapshot.name = node.getName();
    const Ogre::Vector3& position = node.getPosition();
    const Ogre::Quaternion& orientation = node.getOrientation();
    const Ogre::Vector3& scale = node.getScale();
    snapshot.position = {position.x, position.y, position.z};
    snapshot.orientation = {orientation.x, orientation.y, orientation.z, orientation.w};
    snapshot.scale = {scale.x, scale.y, scale.z};
    for (const Ogre::MovableObject* object : node.getAttachedObjects()) {
        snapshot.objects.push_back(captureObject(*object, meshes));
    }
    return snapshot;
}

}  // namespace

MeshSnapshot captureMesh(const Ogre::Mesh& mesh) {
    MeshSnapshot snapshot;
    snapshot.name = mesh.getName();
    const Ogre::AxisAlignedBox& bounds = mesh.getBounds();
    const Ogre::Vector3& low = bounds.getMinimum();
    const Ogre::Vector3& high = bounds.getMaximum();
    snapshot.bounds = {low.x, low.y, low.z, high.x, high.y, high.z};
    if (mesh.sharedVertexData != nullptr) {
        snapshot.sharedVertices = captureVertices(*mesh.sharedVertexData);
    }
    for (unsigned s = 0; s < mesh.getNumSubMeshes(); ++s) {
        const Ogre::SubMesh& subMesh = *mesh.getSubMesh(static_cast<unsigned short>(s));
        SubmeshSnapshot submesh;
        submesh.label = buildSubmeshLabel(mesh, s);
        submesh.useSharedVertices = subMesh.useSharedVertices;
        if (!subMesh.useSharedVertices && subMesh.vertexData != nullptr) {
            submesh.vertices = captureVertices(*subMesh.vertexData);
        }
        captureIndices(subMesh.indexData, submesh);
        snapshot.submeshes.push_back(std::move(submesh));
    }
    return snapshot;
}

SceneSnapshot captureScene(Ogre::SceneManager& sceneManager) {
    SceneSnapshot scene;
    scene.materials = captureMaterials();
    MeshTable meshes(scene.meshes);
    for (const Ogre::Node* child : sceneManager.getRootSceneNode()->getChildren()) {
        scene.nodes.push_back(captureNode(static_cast<const Ogre::SceneNode&>(*child), meshes));
    }
    return scene;
}

}  // namespace verada
