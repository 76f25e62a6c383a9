#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace verada {

constexpr int kMaxModelGroups = 128;

// One group of an imported model: becomes one submesh. Positions and normals are already in
// the viewer's axes.
struct ModelGroup {
    std::string name;  // at most 127 characters
    std::array<float, 3> boundsMin{};
    std::array<float, 3> boundsMax{};
    std::vector<float> positions;      // vertexCount × (x, y, z)
    std::vector<float> normals;        // vertexCount × (x, y, z)
    std::vector<float> uvs;            // vertexCount × (u, v)
    std::vector<std::uint16_t> faces;  // faceCount × 3 indices local to the group

    int vertexCount() const { return static_cast<int>(positions.size() / 3); }
    int faceCount() const { return static_cast<int>(faces.size() / 3); }
};

// The geometry a model reader returns; it owns all of it.
struct ImportedModel {
    std::string fileName;            // as passed to the reader
    std::vector<ModelGroup> groups;  // at most kMaxModelGroups

    int groupCount() const { return static_cast<int>(groups.size()); }
};

// The box from the origin over every position, as the readers report it.
void growBoundsOverPositions(ModelGroup& group);

}  // namespace verada
