#include "formats/export/export_selection.h"

#include "formats/export/export_messages.h"

namespace verada {
namespace {

// The nodes the engine creates for the floor and the backdrop; picking passes them by too.
bool isViewerNode(const NodeSnapshot& node) {
    return node.name == "groundplane" || node.name == "background";
}

}  // namespace

Result<std::vector<ExportNode>> selectExportNodes(const SceneSnapshot& scene) {
    std::vector<ExportNode> nodes;
    for (const NodeSnapshot& node : scene.nodes) {
        if (isViewerNode(node)) {
            continue;
        }
        ExportNode exported{&node, {}};
        for (const ObjectSnapshot& object : node.objects) {
            if (object.visible && object.mesh < scene.meshes.size()) {
                exported.entities.push_back(&object);
            }
        }
        if (!exported.entities.empty()) {
            nodes.push_back(std::move(exported));
        }
    }
    if (nodes.empty()) {
        return fail(kNoModelToExport);
    }
    return nodes;
}

}  // namespace verada
