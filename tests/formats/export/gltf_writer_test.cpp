#include "formats/export/gltf_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include "formats/export/obj_writer.h"
#include "tests/formats/export/export_peers.h"
#include "tests/formats/export/export_scenes.h"
#include "tests/formats/export/export_test_scene.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

namespace fs = std::filesystem;

constexpr const char* kGenerator = "Verada V0.22";

// Texture bytes from the samples' texture folder, as the engine side reads them from disk.
std::optional<EmbeddedImage> sampleTexture(const std::string& name) {
    const fs::path path = test::samplePath("ogre-mesh/textures/" + name);
    if (!fs::exists(path)) {
        return std::nullopt;
    }
    const std::string bytes = test::readFile(path);
    return EmbeddedImage{path.extension() == ".png" ? "image/png" : "image/jpeg",
                         {bytes.begin(), bytes.end()}};
}

fs::path writeGltf(const fs::path& path, const SceneSnapshot& scene) {
    const GltfContainer container =
        path.extension() == ".glb" ? GltfContainer::Binary : GltfContainer::Json;
    const Result<std::string> written = writeGltfScene(scene, container, kGenerator, sampleTexture);
    EXPECT_TRUE(written.ok()) << written.error();
    test::writeFile(path, written.ok() ? written.value() : "");
    return path;
}

// (vertices, faces) of each primitive, in order.
using Counts = std::vector<std::pair<int, int>>;

Counts assimpCounts(const fs::path& file) {
    Counts counts;
    for (const test::AssimpMesh& mesh : test::assimpMeshes(file)) {
        counts.emplace_back(mesh.vertices, mesh.faces);
    }
    std::sort(counts.begin(), counts.end());
    return counts;
}

tinygltf::Model readGlb(const std::string& bytes) {
    tinygltf::TinyGLTF loader;
    // The images are compared as bytes; nothing needs them decoded.
    loader.SetImageLoader([](tinygltf::Image*, const int, std::string*, std::string*, int, int,
                             const unsigned char*, int, void*) { return true; },
                          nullptr);
    tinygltf::Model model;
    std::string error, warning;
    EXPECT_TRUE(loader.LoadBinaryFromMemory(&model, &error, &warning,
                                            reinterpret_cast<const unsigned char*>(bytes.data()),
                                            static_cast<unsigned>(bytes.size())))
        << error;
    return model;
}

const unsigned char* viewBytes(const tinygltf::Model& model, int viewIndex) {
    const tinygltf::BufferView& view = model.bufferViews[viewIndex];
    return model.buffers[view.buffer].data.data() + view.byteOffset;
}

std::vector<float> accessorFloats(const tinygltf::Model& model, int index) {
    const tinygltf::Accessor& accessor = model.accessors[index];
    const int components = accessor.type == TINYGLTF_TYPE_VEC2 ? 2 : 3;
    std::vector<float> values(accessor.count * components);
    std::memcpy(values.data(), viewBytes(model, accessor.bufferView) + accessor.byteOffset,
                values.size() * sizeof(float));
    return values;
}

const tinygltf::Node* findNode(const tinygltf::Model& model, const std::string& name) {
    for (const tinygltf::Node& node : model.nodes) {
        if (node.name == name) {
            return &node;
        }
    }
    return nullptr;
}

TEST(GltfWriter, BuiltSceneValidatesAndReadsBackInAssimp) {
    test::TempDir folder;
    const SceneSnapshot scene = test::exportTestScene();
    const Result<std::string> written =
        writeGltfScene(scene, GltfContainer::Binary, kGenerator, sampleTexture);
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(
        written.warnings(),
        (std::vector<std::string>{
            "WARN: Submesh Broken of mesh box holds an index past its 3 vertices and is "
            "left out.",
            "WARN: Texture missing.png of material Lost could not be read and is left out."}));

    const std::vector<fs::path> files = {writeGltf(folder / "scene.glb", scene),
                                         writeGltf(folder / "scene.gltf", scene)};
    const test::CommandOutput validation = test::validateGltf(files);
    EXPECT_EQ(validation.status, 0) << validation.output;
    for (const fs::path& file : files) {
        // The box's quad and triangle once, shared by both crates, and the tile's plane.
        EXPECT_EQ(assimpCounts(file), (Counts{{3, 1}, {4, 2}, {4, 2}})) << file;
    }
}

TEST(GltfWriter, SampleModelsValidateAndKeepTheirCounts) {
    test::TempDir folder;
    for (const char* sample : {"gmdl/Megamouth.gmdl", "gmdc/TestMesh.5gd"}) {
        SceneSnapshot scene;
        scene.meshes = {test::sampleMesh(sample, "model")};
        scene.nodes = {{"model", {}, {0, 0, 0, 1}, {1, 1, 1}, {test::entity("model", 0, {})}}};
        Counts expected;
        for (const SubmeshSnapshot& submesh : scene.meshes[0].submeshes) {
            expected.emplace_back(static_cast<int>(submesh.vertices.vertexCount),
                                  static_cast<int>(submesh.indices.size() / 3));
        }
        std::sort(expected.begin(), expected.end());

        const std::vector<fs::path> files = {writeGltf(folder / "model.glb", scene),
                                             writeGltf(folder / "model.gltf", scene)};
        const test::CommandOutput validation = test::validateGltf(files);
        EXPECT_EQ(validation.status, 0) << sample << "\n" << validation.output;
        for (const fs::path& file : files) {
            EXPECT_EQ(assimpCounts(file), expected) << sample << " " << file;
        }
    }
}

TEST(GltfWriter, KeepsTransformsGeometryAndMaterials) {
    const SceneSnapshot scene = test::exportTestScene();
    const tinygltf::Model model =
        readGlb(writeGltfScene(scene, GltfContainer::Binary, kGenerator, sampleTexture).value());
    EXPECT_EQ(model.asset.generator, kGenerator);
    ASSERT_EQ(model.scenes.size(), 1u);
    std::vector<std::string> roots;
    for (int node : model.scenes[0].nodes) {
        roots.push_back(model.nodes[node].name);
    }
    EXPECT_EQ(roots, (std::vector<std::string>{"turned", "moved"}));
    EXPECT_EQ(findNode(model, "ghost"), nullptr);

    const tinygltf::Node* turned = findNode(model, "turned");
    ASSERT_NE(turned, nullptr);
    EXPECT_EQ(turned->translation, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(turned->scale, (std::vector<double>{2, 0.5, 1}));
    ASSERT_EQ(turned->rotation.size(), 4u);
    const double half = std::sqrt(0.5);
    const double expectedRotation[4] = {0, half, 0, half};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(turned->rotation[i], expectedRotation[i], 1e-7);
    }
    const tinygltf::Node* crate = findNode(model, "crate");
    const tinygltf::Node* crate0 = findNode(model, "crate0");
    const tinygltf::Node* tile = findNode(model, "tile\xC2\xB0");
    ASSERT_TRUE(crate && crate0 && tile);
    EXPECT_EQ(crate->mesh, crate0->mesh);
    EXPECT_NE(crate->mesh, tile->mesh);

    const tinygltf::Mesh& box = model.meshes[crate->mesh];
    EXPECT_EQ(box.name, "box");
    ASSERT_EQ(box.primitives.size(), 2u);
    const tinygltf::Primitive& quad = box.primitives[0];
    const VertexArrays& quadVertices = scene.meshes[1].submeshes[0].vertices;
    EXPECT_EQ(accessorFloats(model, quad.attributes.at("POSITION")), quadVertices.positions);
    EXPECT_EQ(model.accessors[quad.attributes.at("POSITION")].maxValues,
              (std::vector<double>{1, 1, 0}));
    EXPECT_EQ(accessorFloats(model, quad.attributes.at("TEXCOORD_0")), quadVertices.uvs);
    const std::vector<float> normals = accessorFloats(model, quad.attributes.at("NORMAL"));
    // Made unit length; the zero one is its triangle's face normal.
    const float diagonal = 0.70710677f;
    const float expectedNormals[12] = {0, 0, 1, 0, 0, 1, 0, 0, 1, diagonal, diagonal, 0};
    for (int i = 0; i < 12; ++i) {
        EXPECT_NEAR(normals[i], expectedNormals[i], 1e-6) << i;
    }
    EXPECT_EQ(model.accessors[quad.indices].componentType, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT);
    const tinygltf::Primitive& triangle = box.primitives[1];
    EXPECT_EQ(triangle.attributes.count("NORMAL"), 0u);
    EXPECT_EQ(model.accessors[triangle.indices].componentType,
              TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT);

    const tinygltf::Material& crateMaterial = model.materials[quad.material];
    EXPECT_EQ(crateMaterial.name, "Crate");
    const tinygltf::PbrMetallicRoughness& pbr = crateMaterial.pbrMetallicRoughness;
    EXPECT_EQ(pbr.baseColorFactor, (std::vector<double>{0.9f, 0.8f, 0.7f, 1}));
    EXPECT_EQ(pbr.metallicFactor, 0);
    EXPECT_EQ(pbr.roughnessFactor, 1);
    EXPECT_EQ(crateMaterial.alphaMode, "OPAQUE");
    ASSERT_GE(pbr.baseColorTexture.index, 0);
    const tinygltf::Image& image = model.images[model.textures[pbr.baseColorTexture.index].source];
    EXPECT_EQ(image.mimeType, "image/png");
    const std::string png = test::readFile(test::samplePath("ogre-mesh/textures/RustyBarrel.png"));
    ASSERT_EQ(model.bufferViews[image.bufferView].byteLength, png.size());
    EXPECT_EQ(std::memcmp(viewBytes(model, image.bufferView), png.data(), png.size()), 0);

    const tinygltf::Material& glass = model.materials[triangle.material];
    EXPECT_EQ(glass.name, "Glass");
    EXPECT_EQ(glass.alphaMode, "BLEND");
    EXPECT_EQ(glass.pbrMetallicRoughness.baseColorFactor,
              (std::vector<double>{0.2f, 0.4f, 1, 0.5}));
    const tinygltf::Material& lost =
        model.materials[model.meshes[tile->mesh].primitives[0].material];
    EXPECT_EQ(lost.name, "Lost");
    EXPECT_LT(lost.pbrMetallicRoughness.baseColorTexture.index, 0);
}

TEST(SceneExport, SceneWithoutAVisibleModelIsRefused) {
    SceneSnapshot scene = test::exportTestScene();
    scene.nodes.erase(scene.nodes.begin() + 2, scene.nodes.begin() + 4);
    const char* const text = "ERR: The scene holds no model to export.";
    EXPECT_EQ(writeGltfScene(scene, GltfContainer::Binary, kGenerator, sampleTexture).error(),
              text);
    EXPECT_EQ(writeObjScene(scene, "scene.mtl").error(), text);
}

}  // namespace
}  // namespace verada
