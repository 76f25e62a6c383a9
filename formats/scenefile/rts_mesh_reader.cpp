#include "formats/scenefile/rts_mesh_reader.h"

#include <algorithm>
#include <array>

#include "formats/io/printf_text.h"
#include "formats/scenefile/rts_number_scan.h"
#include "formats/scenefile/rts_runs.h"
#include "formats/scenefile/rts_texts.h"

namespace verada {
namespace {

constexpr std::size_t kNameBuffer = 256;  // names keep 255 characters
constexpr std::size_t kLargest16BitVertexCount = 65536;

class MeshSection {
  public:
    MeshSection(RtsInput& input, const std::string& name, std::optional<std::size_t> headerAt)
        : input_(input), name_(name), headerAt_(headerAt), section_("Mesh:" + name) {}

    RtsInput& input() { return input_; }
    const std::string& name() const { return section_; }

    std::string text(const std::string& key, const char* defaultText, std::size_t buffer) const {
        return input_.profile().readString(section_, key, defaultText, buffer);
    }
    int integer(const std::string& key, int defaultValue) const {
        return input_.profile().readInt(section_, key, defaultValue);
    }

    Result<std::size_t> count(const std::string& key) const {
        int value = integer(key, 0);
        if (value < 0) {
            return fail(badCountText(key, value, name_));
        }
        return static_cast<std::size_t>(value);
    }

    RtsRun run(std::string prefix, std::string countKey, std::size_t count) const {
        return RtsRun{name_, headerAt_, std::move(prefix), std::move(countKey), count};
    }

  private:
    RtsInput& input_;
    const std::string& name_;
    std::optional<std::size_t> headerAt_;
    std::string section_;
};

std::string submeshKey(const char* format, std::size_t s) {
    return printfText(format, static_cast<int>(s));
}

Status readOwnVertices(MeshSection& section, std::size_t s, SubmeshSnapshot& submesh) {
    if (section.integer(submeshKey("SM%02dUseSharedVertices", s), 1) != 0) {
        return fail(
            printfText(rts::kSharedVertexSanity, section.name().c_str(), static_cast<int>(s)));
    }
    std::string countKey = submeshKey("SM%02dVertexCount", s);
    Result<std::size_t> count = section.count(countKey);
    if (!count) {
        return fail(count.error());
    }
    if (count.value() > 0) {
        Result<VertexArrays> vertices = readVertexRun(
            section.input(), section.run(submeshKey("SM%02dV", s), countKey, count.value()));
        if (!vertices) {
            return fail(vertices.error());
        }
        submesh.vertices = std::move(vertices.value());
    }
    return Done{};
}

// sharedCount is 0 when the mesh has no shared vertices: each submesh then has its own.
Result<SubmeshSnapshot> readSubmesh(MeshSection& section, std::size_t s, std::size_t sharedCount) {
    SubmeshSnapshot submesh;
    submesh.label = section.text(submeshKey("SM%02dName", s), "0", kNameBuffer);
    submesh.useSharedVertices = sharedCount > 0;
    if (!submesh.useSharedVertices) {
        Status own = readOwnVertices(section, s, submesh);
        if (!own) {
            return fail(own.error());
        }
    }
    std::size_t vertexCount =
        submesh.useSharedVertices ? sharedCount : submesh.vertices.vertexCount;
    std::string countKey = submeshKey("SM%02dFaceCount", s);
    Result<std::size_t> faces = section.count(countKey);
    if (!faces) {
        return fail(faces.error());
    }
    if (faces.value() > 0) {
        Result<std::vector<std::uint32_t>> indices = readFaceRun(
            section.input(), section.run(submeshKey("SM%02dF", s), countKey, faces.value()),
            vertexCount);
        if (!indices) {
            return fail(indices.error());
        }
        submesh.indices = std::move(indices.value());
    }
    submesh.indices32 = vertexCount > kLargest16BitVertexCount;
    return submesh;
}

void growBox(std::array<float, 6>& box, const VertexArrays& vertices, bool& empty) {
    for (std::size_t i = 0; i + 2 < vertices.positions.size(); i += 3) {
        for (std::size_t axis = 0; axis < 3; ++axis) {
            float value = vertices.positions[i + axis];
            box[axis] = empty ? value : std::min(box[axis], value);
            box[axis + 3] = empty ? value : std::max(box[axis + 3], value);
        }
        empty = false;
    }
}

// The box around every vertex of the mesh; all zero when it has none.
std::array<float, 6> vertexBox(const MeshSnapshot& mesh) {
    std::array<float, 6> box{};
    bool empty = true;
    if (mesh.sharedVertices) {
        growBox(box, *mesh.sharedVertices, empty);
    }
    for (const SubmeshSnapshot& submesh : mesh.submeshes) {
        growBox(box, submesh.vertices, empty);
    }
    return box;
}

// Components that do not scan are 0; a box whose minimum lies above its maximum is replaced by
// the box of the vertices.
std::array<float, 6> readBounds(const MeshSection& section, const MeshSnapshot& mesh) {
    std::array<float, 6> bounds{};
    std::string text = section.text("Bounds", "0 0 0 0 0 0", std::string::npos);
    scanReals(text, bounds.data(), bounds.size());
    if (bounds[0] > bounds[3] || bounds[1] > bounds[4] || bounds[2] > bounds[5]) {
        return vertexBox(mesh);
    }
    return bounds;
}

Result<std::size_t> readSharedVertices(MeshSection& section, MeshSnapshot& mesh) {
    Result<std::size_t> count = section.count("SharedVertexCount");
    if (!count || count.value() == 0) {
        return count;
    }
    Result<VertexArrays> vertices =
        readVertexRun(section.input(), section.run("ShV", "SharedVertexCount", count.value()));
    if (!vertices) {
        return fail(vertices.error());
    }
    mesh.sharedVertices = std::move(vertices.value());
    return count;
}

}  // namespace

Result<RtsMesh> readRtsMesh(RtsInput& input, const std::string& name,
                            std::optional<std::size_t> headerAt) {
    MeshSection section(input, name, headerAt);
    RtsMesh read;
    read.mesh.name = name;
    Result<std::size_t> sharedCount = readSharedVertices(section, read.mesh);
    if (!sharedCount) {
        return fail(sharedCount.error());
    }
    int submeshes = section.integer("NumSubMeshes", 0);
    if (submeshes < 0 || !input.draw(static_cast<std::size_t>(submeshes))) {
        return fail(badCountText("NumSubMeshes", submeshes, name));
    }
    for (std::size_t s = 0; s < static_cast<std::size_t>(submeshes); ++s) {
        Result<SubmeshSnapshot> submesh = readSubmesh(section, s, sharedCount.value());
        if (!submesh) {
            return fail(submesh.error());
        }
        read.mesh.submeshes.push_back(std::move(submesh.value()));
    }
    read.mesh.bounds = readBounds(section, read.mesh);
    for (std::size_t s = 0; s < read.mesh.submeshes.size(); ++s) {
        read.submeshMaterials.push_back(
            section.text(submeshKey("SM%02dMaterial", s), "BaseWhite", kNameBuffer));
    }
    return read;
}

}  // namespace verada
