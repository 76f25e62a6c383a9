#include "engine/scene/scene_capture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <OgreEntity.h>
#include <OgreHardwareBufferManager.h>
#include <OgreLight.h>
#include <OgreMaterialManager.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSubMesh.h>
#include <gtest/gtest.h>

#include "engine/materials/material_script_loader.h"
#include "engine/mesh/ogre_mesh_import.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/layer_text.h"
#include "tests/support/mesh_lines.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

using test::converterLines;
using test::meshLines;
using test::numbers;

class SceneCaptureTest : public ::testing::Test {
  protected:
    Ogre::MeshPtr importSample(const std::string& name) {
        Result<ImportedOgreMesh> imported = importOgreMeshFile(
            test::samplePath("ogre-mesh/v1.100/" + name + ".mesh").string(), name + ".mesh");
        EXPECT_TRUE(imported) << imported.error();
        return imported ? imported->mesh : Ogre::MeshPtr();
    }

    test::HeadlessOgre ogre;
    Ogre::SceneManager* sceneManager = ogre.freshSceneManager();
    test::TempDir dir;
};

// Knot draws from shared vertices, robot keeps its texture coordinates in a second buffer.
TEST_F(SceneCaptureTest, SampleMeshesReadAsTheOgreConverterWritesThem) {
    for (std::string name :
         {"Barrel", "athene", "column", "cube", "knot", "ogrehead", "razor", "robot"}) {
        Ogre::MeshPtr mesh = importSample(name);
        ASSERT_TRUE(mesh);
        std::string command = "OgreXMLConverter -q '" +
                              test::samplePath("ogre-mesh/v1.100/" + name + ".mesh").string() +
                              "' '" + (dir / "mesh.xml").string() + "' > /dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        // Compared whole: a mismatch would print thousands of numbers.
        EXPECT_TRUE(meshLines(captureMesh(*mesh)) == converterLines(dir / "mesh.xml")) << name;
        Ogre::MeshManager::getSingleton().remove(mesh);
    }
}

Ogre::HardwareVertexBufferSharedPtr vertexBuffer(std::size_t floatsPerVertex,
                                                 const std::vector<float>& values) {
    auto buffer = Ogre::HardwareBufferManager::getSingleton().createVertexBuffer(
        floatsPerVertex * sizeof(float), values.size() / floatsPerVertex,
        Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
    buffer->writeData(0, values.size() * sizeof(float), values.data(), true);
    return buffer;
}

template <typename Index>
void setIndices(Ogre::IndexData& data, std::vector<Index> values, std::size_t start,
                std::size_t count) {
    data.indexBuffer = Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(
        sizeof(Index) == 4 ? Ogre::HardwareIndexBuffer::IT_32BIT
                           : Ogre::HardwareIndexBuffer::IT_16BIT,
        values.size(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, true);
    data.indexBuffer->writeData(0, values.size() * sizeof(Index), values.data(), true);
    data.indexStart = start;
    data.indexCount = count;
}

Ogre::VertexData* ownVertices(Ogre::SubMesh& subMesh, std::size_t start, std::size_t count) {
    subMesh.useSharedVertices = false;
    subMesh.vertexData = new Ogre::VertexData();
    subMesh.vertexData->vertexStart = start;
    subMesh.vertexData->vertexCount = count;
    return subMesh.vertexData;
}

// Vertex data that starts late, elements of other types, a buffer that ends early, index data
// that starts late, ends early or is not there.
TEST_F(SceneCaptureTest, ReadsEachElementFromItsOwnBufferAndNeverPastOne) {
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual("odd", "MSH");
    // Vertices 2 to 4 of 5: position and a normal of four floats in source 0, texture
    // coordinates in source 3; 32-bit indices from index 1.
    Ogre::SubMesh* first = mesh->createSubMesh("first");
    Ogre::VertexData* data = ownVertices(*first, 2, 3);
    data->vertexDeclaration->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    data->vertexDeclaration->addElement(0, 12, Ogre::VET_FLOAT4, Ogre::VES_NORMAL);
    data->vertexDeclaration->addElement(3, 0, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES);
    std::vector<float> interleaved;
    for (float v = 0; v < 5; ++v) {
        interleaved.insert(interleaved.end(), {v, 10 + v, 20 + v, 0, 1, 0, 0});
    }
    data->vertexBufferBinding->setBinding(0, vertexBuffer(7, interleaved));
    data->vertexBufferBinding->setBinding(3, vertexBuffer(2, {0, 0, 0, 0, 2, 8, 3, 7, 4, 6}));
    setIndices<std::uint32_t>(*first->indexData, {9, 0, 1, 2}, 1, 3);
    // Normal before position; the texture coordinates' buffer holds 1 of 2 vertices; no
    // index buffer.
    data = ownVertices(*mesh->createSubMesh(), 0, 2);
    data->vertexDeclaration->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_NORMAL);
    data->vertexDeclaration->addElement(0, 12, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    data->vertexDeclaration->addElement(1, 0, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES);
    data->vertexBufferBinding->setBinding(0, vertexBuffer(6, {0, 0, 1, 1, 2, 3, 0, 1, 0, 4, 5, 6}));
    data->vertexBufferBinding->setBinding(1, vertexBuffer(2, {0.25f, 0.75f}));
    // Shared vertices whose position has two floats; indices that would run past their buffer.
    mesh->sharedVertexData = new Ogre::VertexData();
    mesh->sharedVertexData->vertexCount = 2;
    mesh->sharedVertexData->vertexDeclaration->addElement(0, 0, Ogre::VET_FLOAT2,
                                                          Ogre::VES_POSITION);
    mesh->sharedVertexData->vertexBufferBinding->setBinding(0, vertexBuffer(2, {1, 2, 3, 4}));
    setIndices<std::uint16_t>(*mesh->createSubMesh()->indexData, {0, 1, 1}, 1, 3);
    mesh->_setBounds(Ogre::AxisAlignedBox(-1, -2, -3, 4, 5, 6), false);

    MeshSnapshot captured = captureMesh(*mesh);
    EXPECT_EQ(captured.bounds, (std::array<float, 6>{-1, -2, -3, 4, 5, 6}));
    EXPECT_EQ(meshLines(captured),
              (std::vector<std::string>{
                  "vertices 2", "position", "normal", "texcoord", "first 32-bit 0 1 2",
                  "vertices 3", "position 2 12 22 3 13 23 4 14 24", "normal",
                  "texcoord 2 8 3 7 4 6", "GroupIndex01 none", "vertices 2", "position 1 2 3 4 5 6",
                  "normal 0 0 1 0 1 0", "texcoord", "GroupIndex02 shared none"}));
    // Never loaded, so Ogre would not free its parts.
    while (mesh->getNumSubMeshes() > 0) {
        mesh->destroySubMesh(0);
    }
    delete mesh->sharedVertexData;
    mesh->sharedVertexData = nullptr;
    Ogre::MeshManager::getSingleton().remove(mesh);
}

constexpr char kLayeredScript[] = R"(material Layered { technique {
    pass { ambient 0.1 0.2 0.3
           diffuse 0.4 0.5 0.6 0.7
           specular 0.2 0.3 0.4 0.5 12 }
    pass { ambient 0 0 0
           diffuse 0 0 0
           emissive 0.25 0.5 0.75
           scene_blend alpha_blend
           texture_unit { texture stone.png } }
    pass { } } }
)";

// Materials in the manager's order with their layers; the root's children in order with their
// objects; a mesh two entities show is captured once.
TEST_F(SceneCaptureTest, CapturesMaterialsNodesObjectsAndEachMeshOnce) {
    test::writeFile(dir / "layered.material", kLayeredScript);
    ASSERT_TRUE(loadMaterialScriptFile((dir / "layered.material").string()));
    Ogre::MaterialManager::getSingleton().create("Bare", "MTL")->removeAllTechniques();
    ASSERT_TRUE(importSample("knot") && importSample("cube"));

    Ogre::SceneNode* second = sceneManager->getRootSceneNode()->createChildSceneNode("second");
    Ogre::SceneNode* first = sceneManager->getRootSceneNode()->createChildSceneNode("first");
    second->setPosition(1, 2, 3);
    second->setOrientation(Ogre::Quaternion(0.5f, 0.5f, -0.5f, 0.5f));
    second->setScale(2, 3, 4);
    Ogre::Entity* knot = sceneManager->createEntity("knot1", "knot.mesh");
    knot->setMaterialName("Layered");
    second->attachObject(knot);
    second->attachObject(sceneManager->createEntity("cube", "cube.mesh"));
    second->attachObject(sceneManager->createEntity("knot2", "knot.mesh"));
    second->getAttachedObject(2)->setVisible(false);
    first->attachObject(sceneManager->createLight("lamp"));

    SceneSnapshot scene = captureScene(*sceneManager);
    std::vector<std::string> lines;
    for (const MaterialSnapshot& material : scene.materials) {
        lines.push_back(material.name);
        for (const MaterialLayerSettings& layer : material.layers) {
            lines.push_back(test::layerText(layer));
        }
    }
    for (const NodeSnapshot& node : scene.nodes) {
        lines.push_back(node.name + numbers({node.position.begin(), node.position.end()}) + " /" +
                        numbers({node.orientation.begin(), node.orientation.end()}) + " /" +
                        numbers({node.scale.begin(), node.scale.end()}));
        for (const ObjectSnapshot& o : node.objects) {
            lines.push_back(o.name + (o.visible ? " visible" : " hidden") + " mesh " +
                            (o.mesh == kNoMesh ? "none" : scene.meshes.at(o.mesh).name));
            for (const std::string& material : o.submeshMaterials) {
                lines.back() += " " + material;
            }
        }
    }
    std::vector<std::string> tail(lines.end() - 11, lines.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{
                  "Layered",
                  "3/0 shininess 1 12 ambient 1 0.1 0.2 0.3 specular 1 0.5 0.2 0.3 0.4 diffuse 1 "
                  "0.7 0.4 0.5 0.6 self 0 0 0 0 texture 0 '' alpha 0",
                  "3/1 shininess 0 0 ambient 0 0 0 0 specular 0 0 0 0 0 diffuse 0 0 0 0 0 self 1 "
                  "0.25 0.5 0.75 texture 1 'stone.png' alpha 1",
                  "3/2 shininess 0 0 ambient 1 1 1 1 specular 0 0 0 0 0 diffuse 1 1 1 1 1 self 0 "
                  "0 0 0 texture 0 '' alpha 0",
                  "Bare", "second 1 2 3 / 0.5 -0.5 0.5 0.5 / 2 3 4",
                  "knot1 visible mesh knot.mesh Layered", "cube visible mesh cube.mesh BaseWhite",
                  "knot2 hidden mesh knot.mesh BaseWhite", "first 0 0 0 / 0 0 0 1 / 1 1 1",
                  "lamp visible mesh none"}));
    EXPECT_EQ(scene.meshes.size(), 2u);
    sceneManager->clearScene();
}

}  // namespace
}  // namespace verada
