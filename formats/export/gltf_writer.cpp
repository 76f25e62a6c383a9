#include "formats/export/gltf_writer.h"

#include <cmath>
#include <sstream>

#include <tiny_gltf.h>

#include "formats/export/export_mesh.h"
#include "formats/export/export_selection.h"
#include "formats/export/gltf_buffer.h"
#include "formats/export/gltf_materials.h"
#include "formats/export/gltf_meshes.h"
#include "formats/io/utf8_text.h"

namespace verada {
namespace {

// glTF requires a unit quaternion; a degenerate one stands for no rotation.
std::vector<double> unitRotation(const std::array<float, 4>& orientation) {
    const auto [x, y, z, w] = orientation;
    const double length = std::sqrt(double(x) * x + double(y) * y + double(z) * z + double(w) * w);
    if (!std::isfinite(length) || length == 0) {
        return {0, 0, 0, 1};
    }
    return {x / length, y / length, z / length, w / length};
}

tinygltf::Node placedNode(const NodeSnapshot& node) {
    tinygltf::Node placed;
    placed.name = asUtf8(node.name);
    placed.translation.assign(node.position.begin(), node.position.end());
    placed.rotation = unitRotation(node.orientation);
    placed.scale.assign(node.scale.begin(), node.scale.end());
    return placed;
}

}  // namespace

Result<std::string> writeGltfScene(const SceneSnapshot& scene, GltfContainer container,
                                   const std::string& generator, const TextureProvider& textures) {
    Result<std::vector<ExportNode>> nodes = selectExportNodes(scene);
    if (!nodes) {
        return fail(nodes.error());
    }
    tinygltf::Model model;
    model.asset.version = "2.0";
    model.asset.generator = asUtf8(generator);
    std::vector<std::string> warnings;
    GltfBuffer buffer(model);
    GltfMaterials materials(model, buffer, scene, textures, warnings);
    ExportMeshes exportMeshes(scene, warnings);
    GltfMeshes meshes(model, buffer, materials, scene, exportMeshes);

    tinygltf::Scene gltfScene;
    for (const ExportNode& exported : nodes.value()) {
        tinygltf::Node node = placedNode(*exported.node);
        for (const ObjectSnapshot* entity : exported.entities) {
            tinygltf::Node child;
            child.name = asUtf8(entity->name);
            child.mesh = meshes.meshFor(*entity);
            model.nodes.push_back(child);
            node.children.push_back(static_cast<int>(model.nodes.size() - 1));
        }
        model.nodes.push_back(node);
        gltfScene.nodes.push_back(static_cast<int>(model.nodes.size() - 1));
    }
    model.scenes.push_back(gltfScene);
    model.defaultScene = 0;

    std::ostringstream out;
    tinygltf::TinyGLTF gltf;
    const bool binary = container == GltfContainer::Binary;
    gltf.WriteGltfSceneToStream(&model, out, !binary, binary);
    Result<std::string> result(out.str());
    for (std::string& warning : warnings) {
        result.addWarning(std::move(warning));
    }
    return result;
}

}  // namespace verada
