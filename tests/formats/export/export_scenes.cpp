#include "tests/formats/export/export_scenes.h"

#include <stdexcept>

#include "formats/model/model_format.h"
#include "tests/support/test_paths.h"

namespace verada::test {

MeshSnapshot sampleMesh(const std::string& relativePath, const std::string& meshName) {
    const std::string path = samplePath(relativePath).string();
    Result<ImportedModel> model = readModelFile(path);
    if (!model) {
        throw std::runtime_error("cannot read the sample " + path);
    }
    MeshSnapshot mesh;
    mesh.name = meshName;
    for (const ModelGroup& group : model->groups) {
        VertexArrays vertices = vertexArrays(group.positions, group.normals, group.uvs);
        mesh.submeshes.push_back(
            ownSubmesh(group.name, std::move(vertices), {group.faces.begin(), group.faces.end()}));
    }
    return mesh;
}

MeshSnapshot prefabPlane() {
    MeshSnapshot mesh;
    mesh.name = "Prefab_Plane";
    mesh.bounds = {-100, -100, 0, 100, 100, 0};
    mesh.sharedVertices =
        vertexArrays({-100, -100, 0, 100, -100, 0, 100, 100, 0, -100, 100, 0},
                     {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1}, {0, 1, 1, 1, 1, 0, 0, 0});
    SubmeshSnapshot floor;
    floor.label = "GroupIndex00";
    floor.useSharedVertices = true;
    floor.indices = {0, 1, 2, 0, 2, 3};
    mesh.submeshes.push_back(floor);
    return mesh;
}

VertexArrays vertexArrays(std::vector<float> positions, std::vector<float> normals,
                          std::vector<float> uvs) {
    VertexArrays vertices;
    vertices.vertexCount = positions.size() / 3;
    vertices.positions = std::move(positions);
    vertices.normals = std::move(normals);
    vertices.uvs = std::move(uvs);
    return vertices;
}

SubmeshSnapshot ownSubmesh(const std::string& label, VertexArrays vertices,
                           std::vector<std::uint32_t> indices, bool indices32) {
    SubmeshSnapshot submesh;
    submesh.label = label;
    submesh.vertices = std::move(vertices);
    submesh.indices = std::move(indices);
    submesh.indices32 = indices32;
    return submesh;
}

ObjectSnapshot entity(const std::string& name, std::size_t mesh, std::vector<std::string> materials,
                      bool visible) {
    ObjectSnapshot object;
    object.name = name;
    object.mesh = mesh;
    object.submeshMaterials = std::move(materials);
    object.visible = visible;
    return object;
}

MaterialSnapshot colourMaterial(const std::string& name, float r, float g, float b, float a) {
    MaterialLayerSettings layer;
    layer.materialName = name;
    layer.layerCount = 1;
    layer.hasAmbient = true;
    layer.ambient = {r, g, b};
    layer.hasDiffuse = true;
    layer.diffuse = {a, r, g, b};
    return {name, {layer}};
}

MaterialSnapshot texturedMaterial(const std::string& name, const std::string& texture) {
    MaterialSnapshot material = colourMaterial(name, 1, 1, 1, 1);
    material.layers[0].hasTexture = true;
    material.layers[0].textureName = texture;
    return material;
}

}  // namespace verada::test
