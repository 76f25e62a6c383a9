#include "formats/export/pov_writer.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "formats/export/export_submesh.h"
#include "formats/export/pov_identifiers.h"
#include "formats/export/pov_material_writer.h"
#include "formats/export/pov_mesh_writer.h"
#include "formats/export/pov_node_transform.h"

namespace verada {
namespace {

void writeViewSections(std::FILE* file, const ViewSettings& view, const std::string& caption) {
    std::fprintf(file, "// POV-Ray trace file, generated with %s\r\n", caption.c_str());
    std::fprintf(file, "\r\nlight_source {\r\n  <%f, %f, %f>\r\n  rgb 1.3\r\n  }\r\n",
                 view.lightPosition[0], view.lightPosition[1], -view.lightPosition[2]);
    std::fprintf(file, "\r\ncamera {\r\n");
    std::fprintf(file, "  location <%f, %f, %f>\r\n", view.cameraXPos, view.cameraYPos,
                 -view.cameraDist);
    // The engine's camera stands at +distance looking towards -distance: both z mirrored.
    std::fprintf(file, "  look_at  <%f, %f, %f>\r\n", view.cameraLookX, view.cameraLookY,
                 view.cameraDist);
    std::fprintf(file, "  }\r\n");
    std::fprintf(file, "\r\nbackground {\r\n  color rgb <%f, %f, %f>\r\n  }\r\n", view.bgndRed,
                 view.bgndGreen, view.bgndBlue);
}

// Walks the scene twice, declarations first, then object statements, handing each submesh
// its identifier from one table in file order.
class PovSceneWriter {
  public:
    PovSceneWriter(std::FILE* file, const SceneSnapshot& scene, const PovSettings& pov)
        : file_(file), scene_(scene), pov_(pov), writable_(scene.meshes.size()) {}

    void writeMaterials() {
        std::fprintf(file_, "\r\n// Materials Lists\r\n");
        for (const MaterialSnapshot& material : scene_.materials) {
            const std::string identifier = identifiers_.declare(material.name);
            materialIdentifiers_.emplace(material.name, identifier);
            writePovMaterial(file_, identifier,
                             material.layers.empty() ? MaterialLayerSettings{} : material.layers[0],
                             pov_);
        }
    }

    void writeMeshes() {
        for (const NodeSnapshot& node : scene_.nodes) {
            for (const ObjectSnapshot& object : node.objects) {
                std::fprintf(file_, "// Mesh:%s\r\n", object.name.c_str());
                objectIdentifiers_.push_back(declareObjectMeshes(object));
            }
        }
    }

    void writeSceneNodes() {
        std::fprintf(file_, "// SceneNodes\r\n");
        auto identifiers = objectIdentifiers_.begin();
        for (const NodeSnapshot& node : scene_.nodes) {
            const bool visible = std::any_of(node.objects.begin(), node.objects.end(),
                                             [](const ObjectSnapshot& o) { return o.visible; });
            if (!visible) {
                identifiers += static_cast<std::ptrdiff_t>(node.objects.size());
                continue;
            }
            const PovNodeTransform transform = povNodeTransform(node);
            for (const ObjectSnapshot& object : node.objects) {
                writeObjects(object, *identifiers++, transform);
            }
        }
    }

    std::vector<std::string>& warnings() { return warnings_; }

  private:
    // The identifier of each submesh's mesh2, empty for a submesh left out.
    std::vector<std::string> declareObjectMeshes(const ObjectSnapshot& object) {
        if (object.mesh >= scene_.meshes.size()) {
            return {};
        }
        const MeshSnapshot& mesh = scene_.meshes[object.mesh];
        const std::vector<bool>& writable = writableSubmeshes(object.mesh);
        std::vector<std::string> identifiers(mesh.submeshes.size());
        for (std::size_t s = 0; s < mesh.submeshes.size(); ++s) {
            if (!writable[s]) {
                continue;
            }
            const SubmeshSnapshot& submesh = mesh.submeshes[s];
            identifiers[s] = identifiers_.declare(object.name + "_" + submesh.label);
            writePovMesh2(file_, identifiers[s], *submeshVertices(mesh, submesh), submesh);
        }
        return identifiers;
    }

    // Checked once per mesh, however many objects show it.
    const std::vector<bool>& writableSubmeshes(std::size_t meshIndex) {
        std::vector<bool>& writable = writable_[meshIndex];
        const MeshSnapshot& mesh = scene_.meshes[meshIndex];
        if (writable.size() != mesh.submeshes.size()) {
            writable.clear();
            for (const SubmeshSnapshot& submesh : mesh.submeshes) {
                writable.push_back(isExportableSubmesh(mesh, submesh, warnings_));
            }
        }
        return writable;
    }

    void writeObjects(const ObjectSnapshot& object, const std::vector<std::string>& identifiers,
                      const PovNodeTransform& transform) {
        for (std::size_t s = 0; s < identifiers.size(); ++s) {
            if (identifiers[s].empty()) {
                continue;
            }
            std::fprintf(file_, "object {\r\n  %s\r\n", identifiers[s].c_str());
            // A material the scene does not declare would make POV-Ray refuse the file: the
            // object keeps POV-Ray's default texture then.
            const auto material = s < object.submeshMaterials.size()
                                      ? materialIdentifiers_.find(object.submeshMaterials[s])
                                      : materialIdentifiers_.end();
            if (material != materialIdentifiers_.end()) {
                std::fprintf(file_, "  texture   {%s}\r\n", material->second.c_str());
            }
            const auto& [scale, rotate, translate] = transform;
            std::fprintf(file_, "  scale     <%f, %f, %f>\r\n", scale[0], scale[1], scale[2]);
            std::fprintf(file_, "  rotate    <%f, %f, %f>\r\n", rotate[0], rotate[1], rotate[2]);
            std::fprintf(file_, "  translate <%f, %f, %f>\r\n", translate[0], translate[1],
                         translate[2]);
            std::fprintf(file_, "  }\r\n\r\n");
        }
    }

    std::FILE* file_;
    const SceneSnapshot& scene_;
    const PovSettings& pov_;
    PovIdentifierTable identifiers_;
    std::unordered_map<std::string, std::string> materialIdentifiers_;
    std::vector<std::vector<std::string>> objectIdentifiers_;  // per object, in walk order
    std::vector<std::vector<bool>> writable_;                  // per mesh
    std::vector<std::string> warnings_;
};

}  // namespace

Status writePovScene(std::FILE* file, const SceneSnapshot& scene, const ViewSettings& view,
                     const PovSettings& pov, const std::string& caption) {
    writeViewSections(file, view, caption);
    PovSceneWriter writer(file, scene, pov);
    writer.writeMaterials();
    writer.writeMeshes();
    writer.writeSceneNodes();
    Status status;
    for (std::string& warning : writer.warnings()) {
        status.addWarning(std::move(warning));
    }
    return status;
}

}  // namespace verada
