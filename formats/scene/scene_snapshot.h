#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/scene/material_layer_settings.h"

namespace verada {

// The scene as plain data: what the engine captures for the scene file and the exporters,
// and what the scene file reader hands back to be built. No engine types, so the writers and
// readers work and are tested without Ogre.

// One vertex data: a mesh's shared vertices or a submesh's own.
struct VertexArrays {
    std::size_t vertexCount = 0;
    std::vector<float> positions;  // vertexCount × (x, y, z)
    std::vector<float> normals;    // vertexCount × (x, y, z); empty when there are none
    std::vector<float> uvs;        // vertexCount × (u, v); empty when there are none
};

struct SubmeshSnapshot {
    std::string label;  // the submesh's registered name, else "GroupIndex%02d"
    bool useSharedVertices = false;
    VertexArrays vertices;  // own vertices; empty when useSharedVertices
    bool hasIndexData = true;
    bool indices32 = false;              // the index buffer holds 32-bit indices
    std::vector<std::uint32_t> indices;  // in buffer order; size is the index count
};

struct MeshSnapshot {
    std::string name;
    std::array<float, 6> bounds{};  // minimum x, y, z, then maximum x, y, z
    std::optional<VertexArrays> sharedVertices;
    std::vector<SubmeshSnapshot> submeshes;
};

// The mesh of an object that shows none (one that is no entity, or an entity without mesh).
inline constexpr std::size_t kNoMesh = static_cast<std::size_t>(-1);

// One object attached to a node; every object the program attaches is an entity.
struct ObjectSnapshot {
    std::string name;
    bool visible = true;
    std::size_t mesh = 0;                       // index into SceneSnapshot::meshes, or kNoMesh
    std::vector<std::string> submeshMaterials;  // the material of each sub-entity
};

struct NodeSnapshot {
    std::string name;
    std::array<float, 3> position{};
    std::array<float, 4> orientation{0.0f, 0.0f, 0.0f, 1.0f};  // x, y, z, w
    std::array<float, 3> scale{1.0f, 1.0f, 1.0f};
    std::vector<ObjectSnapshot> objects;  // in attachment order
};

struct MaterialSnapshot {
    std::string name;
    std::vector<MaterialLayerSettings> layers;  // one per pass of technique 0
};

// Materials in the material manager's order, the root's children in child order, and each
// mesh once however many entities show it.
struct SceneSnapshot {
    std::vector<MaterialSnapshot> materials;
    std::vector<NodeSnapshot> nodes;
    std::vector<MeshSnapshot> meshes;
};

}  // namespace verada
