#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace verada::test {

constexpr std::uint32_t kGmdcTypeId = 0xAC4F8687;

struct GmdcElement {
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    std::optional<std::uint32_t> dataSize;  // else the size of data
    std::uint32_t blockFormat = 0;
    std::uint32_t listCount = 0;  // items of the list width, written as zeros
    // Written instead of the list count and list, for layouts the fields cannot express.
    std::optional<std::vector<std::uint8_t>> afterData;
};

struct GmdcLink {
    std::vector<std::int32_t> references;
    std::uint32_t vertexCount = 0;
    std::optional<std::uint32_t> referenceCount;  // else the number of references
    std::array<std::uint32_t, 3> extension{};
};

struct GmdcGroup {
    std::uint32_t link = 0;
    std::string name;
    std::vector<std::uint32_t> indices;
    std::uint32_t boneCount = 0;  // bone numbers written as zeros
    std::optional<std::uint32_t> indexCount;
};

struct GmdcMeshBlock {
    std::uint32_t vertexCount = 0;
    std::uint32_t faceCount = 0;
};

// A GMDC file; every field has a value that reads, so a test changes only what it tests.
struct GmdcFile {
    std::uint32_t version = 4;
    bool longHeader = true;  // the 67-byte header form, first u16 = 1
    std::uint32_t typeId = kGmdcTypeId;
    std::string name = "test_tslocator_gmdc";
    std::vector<GmdcElement> elements;
    std::optional<std::uint32_t> elementCount;
    std::vector<GmdcLink> links;
    std::optional<std::uint32_t> linkCount;
    std::vector<GmdcGroup> groups;
    std::optional<std::uint32_t> groupCount;
    std::uint32_t jointCount = 0;
    std::vector<std::pair<std::string, std::string>> namePairs;
    GmdcMeshBlock staticMesh;
    std::vector<GmdcMeshBlock> boundingSets;

    std::size_t itemWidth() const { return version == 4 ? 2 : 4; }
    std::vector<std::uint8_t> bytes() const;
};

GmdcElement vectorElement(std::uint32_t type, const std::vector<std::array<float, 3>>& items);
GmdcElement uvElement(const std::vector<std::array<float, 2>>& items);

// A valid file: elements 0 positions (k, 2k, 3k), 1 normals (0, 0, 1), 2 texture coordinates
// (k, -k); link 0 over them; group "body" with the indices.
GmdcFile simpleGmdc(std::uint32_t version, std::uint32_t vertexCount,
                    std::vector<std::uint32_t> indices);

}  // namespace verada::test
