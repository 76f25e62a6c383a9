#include "formats/scenefile/rts_writer.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/scenefile/rts_line_writer.h"
#include "formats/scenefile/rts_view_keys.h"

namespace verada {
namespace {

void writeSettings(RtsLineWriter& out, ViewSettings view) {
    out.text("[RTSData]").end();
    out.text("RTSVersion=1").end();
    out.text("RetainTraceFile=1").end();
    for (const rts::ViewKey& key : rts::kViewKeys) {
        out.text(key.key).text("=").reals(key.field(view), key.count).end();
    }
}

void writeLayer(RtsLineWriter& out, std::size_t m, std::size_t l,
                const MaterialLayerSettings& layer) {
    auto key = [&](const char* name) -> RtsLineWriter& {
        return out.text("M").index(m, 4).text("L").index(l, 2).text(name).text("=");
    };
    key("isShiny").integer(layer.hasShininess).end();
    if (layer.hasShininess) {
        key("ShinyVal").real(layer.shininess).end();
    }
    key("isAmbient").integer(layer.hasAmbient).end();
    if (layer.hasAmbient) {
        key("Ambient").reals(layer.ambient.data(), 3).end();
    }
    key("isSpecular").integer(layer.hasSpecular).end();
    if (layer.hasSpecular) {
        key("Specular").reals(layer.specular.data(), 4).end();
    }
    key("isDiffuse").integer(layer.hasDiffuse).end();
    if (layer.hasDiffuse) {
        key("Diffuse").reals(layer.diffuse.data(), 4).end();
    }
    key("isSelfIllum").integer(layer.hasSelfIllumination).end();
    if (layer.hasSelfIllumination) {
        key("SelfIllum").reals(layer.selfIllumination.data(), 3).end();
    }
    key("hasTexture").integer(layer.hasTexture).end();
    if (layer.hasTexture) {
        key("TexName").name(layer.textureName).end();
        key("TexAlpha").integer(layer.alphaLayer).end();
    }
}

void writeMaterials(RtsLineWriter& out, const std::vector<MaterialSnapshot>& materials) {
    out.text("[Materials]").end();
    out.text("MatlCount=").integer(static_cast<long long>(materials.size())).end();
    for (std::size_t m = 0; m < materials.size(); ++m) {
        const MaterialSnapshot& material = materials[m];
        out.text("Matl").index(m, 4).text("=").name(material.name).end();
        out.text("M").index(m, 4).text("NumLayers=");
        out.integer(static_cast<long long>(material.layers.size())).end();
        for (std::size_t l = 0; l < material.layers.size(); ++l) {
            writeLayer(out, m, l, material.layers[l]);
        }
    }
}

void writeNode(RtsLineWriter& out, std::size_t n, const NodeSnapshot& node) {
    auto key = [&](const char* name) -> RtsLineWriter& {
        return out.text("SN").index(n, 2).text(name).text("=");
    };
    key("Name").name(node.name).end();
    key("Position").reals(node.position.data(), 3).end();
    key("OrientationXYZW").reals(node.orientation.data(), 4).end();
    key("ScaleXYZ").reals(node.scale.data(), 3).end();
    key("MeshCount").integer(static_cast<long long>(node.objects.size())).end();
    for (std::size_t k = 0; k < node.objects.size(); ++k) {
        out.text("SN").index(n, 2).text("Mesh").index(k, 2).text("Name=");
        out.name(node.objects[k].name).end();
    }
}

void writeNodes(RtsLineWriter& out, const std::vector<NodeSnapshot>& nodes) {
    out.text("[SceneNodes]").end();
    out.text("NumSceneNodes=").integer(static_cast<long long>(nodes.size())).end();
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        writeNode(out, n, nodes[n]);
    }
}

float component(const std::vector<float>& values, std::size_t i) {
    return i < values.size() ? values[i] : 0.0f;
}

// The shared vertices' keys ("SharedVertexCount", "ShV00000") or a submesh's own
// ("SM03VertexCount", "SM03V00000"). Vertices without normals or texture coordinates write 0.
void writeVertices(RtsLineWriter& out, const VertexArrays& vertices,
                   std::optional<std::size_t> submesh) {
    auto key = [&](const char* shared, const char* own) -> RtsLineWriter& {
        return submesh ? out.text("SM").index(*submesh, 2).text(own) : out.text(shared);
    };
    key("SharedVertexCount=", "VertexCount=");
    out.integer(static_cast<long long>(vertices.vertexCount)).end();
    for (std::size_t i = 0; i < vertices.vertexCount; ++i) {
        const float values[8] = {
            component(vertices.positions, 3 * i),     component(vertices.positions, 3 * i + 1),
            component(vertices.positions, 3 * i + 2), component(vertices.normals, 3 * i),
            component(vertices.normals, 3 * i + 1),   component(vertices.normals, 3 * i + 2),
            component(vertices.uvs, 2 * i),           component(vertices.uvs, 2 * i + 1)};
        key("ShV", "V").index(i, 5).text("=").reals(values, 8).end();
    }
}

// 16-bit indices are written unsigned, 32-bit ones as signed decimals.
long long faceIndex(const SubmeshSnapshot& submesh, std::size_t i) {
    std::uint32_t index = submesh.indices[i];
    if (submesh.indices32) {
        return static_cast<std::int32_t>(index);
    }
    return index & 0xFFFFu;
}

void writeFaces(RtsLineWriter& out, const SubmeshSnapshot& submesh, std::size_t s) {
    std::size_t faces = submesh.indices.size() / 3;
    out.text("SM").index(s, 2).text("FaceCount=").integer(static_cast<long long>(faces)).end();
    for (std::size_t f = 0; f < faces; ++f) {
        out.text("SM").index(s, 2).text("F").index(f, 5).text("=");
        out.integer(faceIndex(submesh, 3 * f)).text(" ");
        out.integer(faceIndex(submesh, 3 * f + 1)).text(" ");
        out.integer(faceIndex(submesh, 3 * f + 2)).end();
    }
}

// A sub-entity index past the last one gives the last one's material.
const std::string& submeshMaterial(const ObjectSnapshot& object, std::size_t s) {
    static const std::string none;
    if (object.submeshMaterials.empty()) {
        return none;
    }
    return object.submeshMaterials[std::min(s, object.submeshMaterials.size() - 1)];
}

void writeSubmesh(RtsLineWriter& out, const ObjectSnapshot& object, const SubmeshSnapshot& submesh,
                  std::size_t s) {
    out.text("SM").index(s, 2).text("Name=").name(submesh.label).end();
    out.text("SM").index(s, 2).text("Material=").name(submeshMaterial(object, s)).end();
    out.text("SM").index(s, 2).text("UseSharedVertices=");
    out.integer(submesh.useSharedVertices).end();
    if (!submesh.useSharedVertices) {
        writeVertices(out, submesh.vertices, s);
    }
    writeFaces(out, submesh, s);
}

void writeMeshSection(RtsLineWriter& out, const ObjectSnapshot& object, const MeshSnapshot& mesh) {
    out.text("[Mesh:").name(object.name).text("]").end();
    out.text("Bounds=").reals(mesh.bounds.data(), 6).end();
    if (mesh.sharedVertices) {
        writeVertices(out, *mesh.sharedVertices, std::nullopt);
    } else {
        out.text("SharedVertexCount=0").end();
    }
    out.text("NumSubMeshes=").integer(static_cast<long long>(mesh.submeshes.size())).end();
    for (std::size_t s = 0; s < mesh.submeshes.size(); ++s) {
        writeSubmesh(out, object, mesh.submeshes[s], s);
    }
}

void writeMeshSections(RtsLineWriter& out, const SceneSnapshot& scene) {
    static const MeshSnapshot noMesh;
    for (const NodeSnapshot& node : scene.nodes) {
        for (const ObjectSnapshot& object : node.objects) {
            bool known = object.mesh < scene.meshes.size();
            writeMeshSection(out, object, known ? scene.meshes[object.mesh] : noMesh);
        }
    }
}

}  // namespace

bool writeRtsText(std::FILE* out, const ViewSettings& view, const SceneSnapshot& scene) {
    RtsLineWriter lines(out);
    writeSettings(lines, view);
    writeMaterials(lines, scene.materials);
    writeNodes(lines, scene.nodes);
    writeMeshSections(lines, scene);
    return lines.finish();
}

}  // namespace verada
