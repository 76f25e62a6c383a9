#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace verada {

constexpr int kMaxModelGroups = 128;

// One group of an imported model: becomes one submesh. Positions and normals are already in
// the viewer's axes. The arrays are owned by the model (GMDL, GMSH) or point into the GMDC
// reader's element buffers (GMDC), see the readers.
struct ModelGroup {
    std::string name;  // at most 127 characters
    std::int32_t vertexCount = 0;
    std::int32_t faceCount = 0;
    std::array<float, 3> boundsMin{};
    std::array<float, 3> boundsMax{};
    const float* positions = nullptr;      // vertexCount × (x, y, z)
    const float* normals = nullptr;        // vertexCount × (x, y, z)
    const float* uvs = nullptr;            // vertexCount × (u, v)
    const std::uint16_t* faces = nullptr;  // faceCount × 3 indices local to the group

    // Storage behind the pointers for readers whose model owns its arrays.
    std::vector<float> ownedPositions;
    std::vector<float> ownedNormals;
    std::vector<float> ownedUvs;
    std::vector<std::uint16_t> ownedFaces;

    // Points the four arrays at the owned storage.
    void pointAtOwnedArrays() {
        positions = ownedPositions.data();
        normals = ownedNormals.data();
        uvs = ownedUvs.data();
        faces = ownedFaces.data();
    }
};

// The geometry one model reader hands to the mesh builder; lives for one load.
struct ImportedModel {
    std::string fileName;            // as passed to the reader, without directory
    std::string fullPath;            // filled by the load step after a successful read
    std::vector<ModelGroup> groups;  // at most kMaxModelGroups

    int groupCount() const { return static_cast<int>(groups.size()); }
};

// Frees the arrays a GMDL or GMSH read allocated; GMDC arrays are freed by releaseGmdcBuffers.
void releaseModelArrays(ImportedModel& model);

}  // namespace verada
