#include "formats/export/obj_writer.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <set>
#include <vector>

#include "formats/export/export_mesh.h"
#include "formats/export/export_selection.h"
#include "formats/export/export_submesh.h"
#include "formats/export/world_transform.h"

namespace verada {
namespace {

// The shortest text that reads back as the same float, whatever the process's locale.
void appendNumber(std::string& out, double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, static_cast<float>(value)).ptr;
    out += ' ';
    out.append(text, end);
}

void appendLine(std::string& out, const char* keyword, const double* values, int count) {
    out += keyword;
    for (int i = 0; i < count; ++i) {
        appendNumber(out, values[i]);
    }
    out += '\n';
}

// Where a vertex data's entries start in the file's "v", "vt" and "vn" lists (1-based); 0 for
// a list it writes nothing to.
struct FirstEntries {
    std::size_t position = 0;
    std::size_t uv = 0;
    std::size_t normal = 0;
};

// One face corner "v", "v/vt", "v//vn" or "v/vt/vn".
void appendCorner(std::string& out, const FirstEntries& first, std::uint32_t index) {
    out += ' ';
    out += std::to_string(first.position + index);
    if (first.uv == 0 && first.normal == 0) {
        return;
    }
    out += '/';
    if (first.uv != 0) {
        out += std::to_string(first.uv + index);
    }
    if (first.normal != 0) {
        out += '/';
        out += std::to_string(first.normal + index);
    }
}

class ObjSceneWriter {
  public:
    ObjSceneWriter(const SceneSnapshot& scene, const std::string& mtlFileName,
                   std::vector<std::string>& warnings)
        : scene_(scene), meshes_(scene, warnings), obj_("mtllib " + mtlFileName + "\n") {}

    void writeEntity(const ObjectSnapshot& entity, const WorldTransform& transform) {
        const ExportMesh& mesh = meshes_[entity.mesh];
        if (mesh.submeshes.empty()) {
            return;
        }
        obj_ += "o " + entity.name + "\n";
        std::vector<FirstEntries> firstEntries;
        for (const ExportVertexSet& set : mesh.vertexSets) {
            firstEntries.push_back(writeVertices(set, transform));
        }
        for (const ExportSubmesh& submesh : mesh.submeshes) {
            obj_ += "g " + submesh.submesh->label + "\n";
            if (submesh.index < entity.submeshMaterials.size() &&
                !entity.submeshMaterials[submesh.index].empty()) {
                const std::string& material = entity.submeshMaterials[submesh.index];
                obj_ += "usemtl " + material + "\n";
                if (materialsSeen_.insert(material).second) {
                    materialsUsed_.push_back(material);
                }
            }
            writeFaces(*submesh.submesh, firstEntries[submesh.vertexSet]);
        }
    }

    std::string mtlText() const {
        std::map<std::string, const MaterialSnapshot*> byName;
        for (const MaterialSnapshot& material : scene_.materials) {
            byName.emplace(material.name, &material);
        }
        std::string mtl;
        for (const std::string& name : materialsUsed_) {
            mtl += "newmtl " + name + "\n";
            const auto known = byName.find(name);
            if (known == byName.end()) {
                // The engine shows a material it does not hold in its default white.
                const double white[3] = {1, 1, 1};
                appendLine(mtl, "Kd", white, 3);
            } else {
                writeMaterial(mtl, *known->second);
            }
            mtl += "\n";
        }
        return mtl;
    }

    std::string takeObjText() { return std::move(obj_); }

  private:
    FirstEntries writeVertices(const ExportVertexSet& set, const WorldTransform& transform) {
        const VertexArrays& arrays = *set.arrays;
        FirstEntries first;
        first.position = written_.position + 1;
        for (std::size_t v = 0; v < arrays.vertexCount; ++v) {
            appendLine(obj_, "v", transform.point(&arrays.positions[3 * v]).data(), 3);
        }
        written_.position += arrays.vertexCount;
        if (hasUvs(arrays)) {
            first.uv = written_.uv + 1;
            for (std::size_t v = 0; v < arrays.vertexCount; ++v) {
                const double uv[2] = {arrays.uvs[2 * v], 1.0 - arrays.uvs[2 * v + 1]};
                appendLine(obj_, "vt", uv, 2);
            }
            written_.uv += arrays.vertexCount;
        }
        if (!set.unitNormals.empty()) {
            first.normal = written_.normal + 1;
            for (std::size_t v = 0; v < arrays.vertexCount; ++v) {
                appendLine(obj_, "vn", transform.normal(&set.unitNormals[3 * v]).data(), 3);
            }
            written_.normal += arrays.vertexCount;
        }
        return first;
    }

    void writeFaces(const SubmeshSnapshot& submesh, const FirstEntries& first) {
        const std::size_t count = triangleIndexCount(submesh);
        for (std::size_t i = 0; i < count; i += 3) {
            obj_ += 'f';
            for (std::size_t k = 0; k < 3; ++k) {
                appendCorner(obj_, first, submesh.indices[i + k]);
            }
            obj_ += '\n';
        }
    }

    static void writeMaterial(std::string& mtl, const MaterialSnapshot& material) {
        const MaterialLayerSettings layer =
            material.layers.empty() ? MaterialLayerSettings{} : material.layers[0];
        // A diffuse colour the layer does not set is black, and its alpha unknown: opaque.
        const auto [a, r, g, b] =
            layer.hasDiffuse ? layer.diffuse : std::array<float, 4>{1, 0, 0, 0};
        const double diffuse[3] = {std::clamp(r, 0.0f, 1.0f), std::clamp(g, 0.0f, 1.0f),
                                   std::clamp(b, 0.0f, 1.0f)};
        appendLine(mtl, "Kd", diffuse, 3);
        if (a < 1) {
            const double alpha = std::max(a, 0.0f);
            appendLine(mtl, "d", &alpha, 1);
        }
        if (layer.hasTexture) {
            mtl += "map_Kd " + layer.textureName + "\n";
        }
    }

    const SceneSnapshot& scene_;
    ExportMeshes meshes_;
    std::string obj_;
    FirstEntries written_;                    // the number of entries in each list so far
    std::vector<std::string> materialsUsed_;  // in the order of first use
    std::set<std::string> materialsSeen_;
};

}  // namespace

Result<ObjFiles> writeObjScene(const SceneSnapshot& scene, const std::string& mtlFileName) {
    Result<std::vector<ExportNode>> nodes = selectExportNodes(scene);
    if (!nodes) {
        return fail(nodes.error());
    }
    std::vector<std::string> warnings;
    ObjSceneWriter writer(scene, mtlFileName, warnings);
    for (const ExportNode& node : nodes.value()) {
        const WorldTransform transform(*node.node);
        for (const ObjectSnapshot* entity : node.entities) {
            writer.writeEntity(*entity, transform);
        }
    }
    Result<ObjFiles> result(ObjFiles{writer.takeObjText(), writer.mtlText()});
    for (std::string& warning : warnings) {
        result.addWarning(std::move(warning));
    }
    return result;
}

}  // namespace verada
