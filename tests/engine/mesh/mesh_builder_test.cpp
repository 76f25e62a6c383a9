#include "engine/mesh/mesh_builder.h"

#include <cstring>

#include <OgreHardwareBufferManager.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <OgreSubMesh.h>
#include <gtest/gtest.h>

#include "tests/support/headless_ogre.h"

namespace verada {
namespace {

ModelGroup makeGroup(const std::string& name, std::vector<float> positions,
                     std::vector<std::uint16_t> faces) {
    ModelGroup group;
    group.name = name;
    group.positions = std::move(positions);
    group.normals.assign(group.positions.size(), 0.0f);
    for (std::size_t v = 0; v < group.normals.size(); v += 3) {
        group.normals[v + 2] = 1.0f;
    }
    for (int v = 0; v < group.vertexCount(); ++v) {
        group.uvs.push_back(0.25f * static_cast<float>(v));
        group.uvs.push_back(1.0f - 0.25f * static_cast<float>(v));
    }
    group.faces = std::move(faces);
    return group;
}

ModelGroup quad(const std::string& name) {
    return makeGroup(name, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}, {0, 1, 2, 0, 2, 3});
}

class MeshBuilderTest : public ::testing::Test {
  protected:
    void SetUp() override { ogre.freshSceneManager(); }
    void TearDown() override { Ogre::MeshManager::getSingleton().removeAll(); }

    Ogre::MeshPtr mesh(const std::string& name) {
        return Ogre::MeshManager::getSingleton().getByName(name, "MSH");
    }

    // The mesh's name, and the texts of the groups left out.
    std::string build(const ImportedModel& model, const std::string& fileName) {
        BuiltMesh built = buildMeshFromModel(model, fileName);
        leftOut.insert(leftOut.end(), built.leftOut.begin(), built.leftOut.end());
        return built.name;
    }

    test::HeadlessOgre ogre;
    std::vector<std::string> leftOut;
};

TEST_F(MeshBuilderTest, NamesAreMadeUniqueWithACounter) {
    ImportedModel model;
    model.groups.push_back(quad("body"));
    EXPECT_EQ(build(model, "foo.gmdl"), "foo");
    EXPECT_EQ(build(model, "/some/folder/foo.gmdl"), "foo0");
    EXPECT_EQ(build(model, "foo.gmsh"), "foo1");

    Ogre::MeshManager::getSingleton().createManual("bar", "General");
    Ogre::MeshManager::getSingleton().createManual("bar0", "General");
    EXPECT_EQ(build(model, "bar.gmsh"), "bar1");
    EXPECT_EQ(mesh("bar1")->getGroup(), "MSH");
    EXPECT_TRUE(leftOut.empty());
}

TEST_F(MeshBuilderTest, FourVerticesTwoTrianglesGiveInterleavedBuffers) {
    ImportedModel model;
    model.groups.push_back(quad("body"));
    ModelGroup& group = model.groups[0];
    std::string name = build(model, "quad.gmdl");

    Ogre::MeshPtr built = mesh(name);
    ASSERT_TRUE(built);
    ASSERT_EQ(built->getNumSubMeshes(), 1u);
    Ogre::SubMesh* subMesh = built->getSubMesh(0);
    EXPECT_FALSE(subMesh->useSharedVertices);
    EXPECT_EQ(built->getSubMeshNameMap().at("body"), 0);

    const Ogre::VertexDeclaration& declaration = *subMesh->vertexData->vertexDeclaration;
    ASSERT_EQ(declaration.getElementCount(), 3u);
    const std::tuple<std::size_t, Ogre::VertexElementType, Ogre::VertexElementSemantic> layout[] = {
        {0, Ogre::VET_FLOAT3, Ogre::VES_POSITION},
        {12, Ogre::VET_FLOAT3, Ogre::VES_NORMAL},
        {24, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES}};
    for (unsigned short e = 0; e < 3; ++e) {
        const Ogre::VertexElement* element = declaration.getElement(e);
        EXPECT_EQ(element->getSource(), 0);
        EXPECT_EQ(element->getOffset(), std::get<0>(layout[e]));
        EXPECT_EQ(element->getType(), std::get<1>(layout[e]));
        EXPECT_EQ(element->getSemantic(), std::get<2>(layout[e]));
        EXPECT_EQ(element->getIndex(), 0);
    }

    Ogre::HardwareVertexBufferSharedPtr vertices =
        subMesh->vertexData->vertexBufferBinding->getBuffer(0);
    EXPECT_EQ(subMesh->vertexData->vertexCount, 4u);
    EXPECT_EQ(vertices->getSizeInBytes(), 128u);
    EXPECT_EQ(vertices->getUsage(), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    std::vector<float> written(32);
    vertices->readData(0, 128, written.data());
    for (int v = 0; v < 4; ++v) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(written[8 * v + c], group.positions[3 * v + c]);
            EXPECT_EQ(written[8 * v + 3 + c], group.normals[3 * v + c]);
        }
        EXPECT_EQ(written[8 * v + 6], group.uvs[2 * v]);
        EXPECT_EQ(written[8 * v + 7], group.uvs[2 * v + 1]);
    }

    Ogre::HardwareIndexBufferSharedPtr indices = subMesh->indexData->indexBuffer;
    EXPECT_EQ(subMesh->indexData->indexCount, 6u);
    EXPECT_EQ(indices->getType(), Ogre::HardwareIndexBuffer::IT_16BIT);
    EXPECT_EQ(indices->getSizeInBytes(), 12u);
    std::vector<std::uint16_t> faces(6);
    indices->readData(0, 12, faces.data());
    EXPECT_EQ(faces, group.faces);
}

TEST_F(MeshBuilderTest, BoundsAreTheUnionOfTheGroupBoxesWithoutPadding) {
    ImportedModel model;
    model.groups.push_back(quad("a"));
    model.groups.push_back(quad("b"));
    model.groups[0].boundsMin = {-1, 0, 0};
    model.groups[0].boundsMax = {0, 2, 0};
    model.groups[1].boundsMin = {0, 0, -3};
    model.groups[1].boundsMax = {4, 0, 0};
    Ogre::AxisAlignedBox box = mesh(build(model, "box.gmdl"))->getBounds();
    EXPECT_EQ(box.getMinimum(), Ogre::Vector3(-1, 0, -3));
    EXPECT_EQ(box.getMaximum(), Ogre::Vector3(4, 2, 0));
}

TEST_F(MeshBuilderTest, FirstGroupBoxIsTakenUnchanged) {
    ImportedModel model;
    model.groups.push_back(quad("a"));
    model.groups[0].boundsMin = {1, 2, 3};
    model.groups[0].boundsMax = {4, 5, 6};
    Ogre::AxisAlignedBox box = mesh(build(model, "one.gmdl"))->getBounds();
    EXPECT_EQ(box.getMinimum(), Ogre::Vector3(1, 2, 3));
    EXPECT_EQ(box.getMaximum(), Ogre::Vector3(4, 5, 6));
}

TEST_F(MeshBuilderTest, NoGroupsGiveAnEmptyMeshAtTheOrigin) {
    ImportedModel model;
    Ogre::MeshPtr built = mesh(build(model, "empty.gmdl"));
    EXPECT_EQ(built->getNumSubMeshes(), 0u);
    EXPECT_EQ(built->getBounds().getMinimum(), Ogre::Vector3::ZERO);
    EXPECT_EQ(built->getBounds().getMaximum(), Ogre::Vector3::ZERO);
}

TEST_F(MeshBuilderTest, ShortArraysAreReportedAndTheGroupIsLeftOut) {
    ImportedModel model;
    model.groups.push_back(quad("broken"));
    model.groups.push_back(quad("whole"));
    model.groups[0].normals.pop_back();
    model.groups[0].boundsMax = {100, 100, 100};
    model.groups[1].boundsMax = {1, 1, 0};
    Ogre::MeshPtr built = mesh(build(model, "holes.gmdl"));

    EXPECT_EQ(leftOut, std::vector<std::string>{"null nm pointer"});
    ASSERT_EQ(built->getNumSubMeshes(), 1u);
    EXPECT_EQ(built->getSubMeshNameMap().count("whole"), 1u);
    EXPECT_EQ(built->getBounds().getMaximum(), Ogre::Vector3(1, 1, 0));
}

TEST_F(MeshBuilderTest, EveryShortArrayHasItsOwnTextInOrder) {
    ImportedModel model;
    model.groups.push_back(quad("none"));
    model.groups[0].normals.clear();
    model.groups[0].uvs.clear();
    EXPECT_EQ(mesh(build(model, "none.gmdl"))->getNumSubMeshes(), 0u);
    EXPECT_EQ(leftOut, (std::vector<std::string>{"null nm pointer", "null uv pointer"}));
}

TEST_F(MeshBuilderTest, FaceIndexBeyondTheVerticesLeavesTheGroupOut) {
    ImportedModel model;
    model.groups.push_back(makeGroup("stray", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 3}));
    model.groups.push_back(quad("fine"));
    Ogre::MeshPtr built = mesh(build(model, "stray.5gd"));
    EXPECT_EQ(leftOut, std::vector<std::string>{"fc index out of range"});
    ASSERT_EQ(built->getNumSubMeshes(), 1u);
    EXPECT_EQ(built->getSubMeshNameMap().count("fine"), 1u);
}

TEST_F(MeshBuilderTest, GroupWithoutFacesIsSkippedQuietly) {
    ImportedModel model;
    model.groups.push_back(makeGroup("points", {0, 0, 0}, {}));
    Ogre::MeshPtr built = mesh(build(model, "points.gmsh"));
    EXPECT_EQ(built->getNumSubMeshes(), 0u);
    EXPECT_TRUE(leftOut.empty());
}

}  // namespace
}  // namespace verada
