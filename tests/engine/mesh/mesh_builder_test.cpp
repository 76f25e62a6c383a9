#include "engine/mesh/mesh_builder.h"

#include <cstring>

#include <OgreHardwareBufferManager.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>
#include <OgreSubMesh.h>
#include <gtest/gtest.h>

#include "platform/application_identity.h"
#include "tests/support/fake_platform.h"
#include "tests/support/headless_ogre.h"

namespace verada {
namespace {

// A group whose arrays live in its own vectors, as the GMDL and GMSH readers deliver them.
ModelGroup makeGroup(const std::string& name, std::vector<float> positions,
                     std::vector<std::uint16_t> faces) {
    ModelGroup group;
    group.name = name;
    group.vertexCount = static_cast<std::int32_t>(positions.size() / 3);
    group.faceCount = static_cast<std::int32_t>(faces.size() / 3);
    group.ownedPositions = std::move(positions);
    group.ownedNormals.assign(group.ownedPositions.size(), 0.0f);
    for (std::size_t v = 0; v < group.ownedNormals.size(); v += 3) {
        group.ownedNormals[v + 2] = 1.0f;
    }
    for (std::int32_t v = 0; v < group.vertexCount; ++v) {
        group.ownedUvs.push_back(0.25f * static_cast<float>(v));
        group.ownedUvs.push_back(1.0f - 0.25f * static_cast<float>(v));
    }
    group.ownedFaces = std::move(faces);
    group.pointAtOwnedArrays();
    return group;
}

ModelGroup quad(const std::string& name) {
    return makeGroup(name, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}, {0, 1, 2, 0, 2, 3});
}

class MeshBuilderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.platform = &platform;
        state.mainWindow = reinterpret_cast<WindowHandle>(0x1234);
        state.sceneManager = ogre.freshSceneManager();
        Ogre::ResourceGroupManager::getSingleton().createResourceGroup("MSH");
    }
    void TearDown() override { Ogre::MeshManager::getSingleton().removeAll(); }

    Ogre::MeshPtr mesh(const std::string& name) {
        return Ogre::MeshManager::getSingleton().getByName(name, "MSH");
    }

    test::HeadlessOgre ogre;
    test::FakePlatform platform;
    AppState state;
};

TEST_F(MeshBuilderTest, NamesAreMadeUniqueWithACounter) {
    ImportedModel model;
    model.groups.push_back(quad("body"));
    EXPECT_EQ(buildMeshFromModel(state, model, "foo.gmdl"), "foo");
    EXPECT_EQ(buildMeshFromModel(state, model, "/some/folder/foo.gmdl"), "foo0");
    EXPECT_EQ(buildMeshFromModel(state, model, "foo.gmsh"), "foo1");

    Ogre::MeshManager::getSingleton().createManual("bar", "General");
    Ogre::MeshManager::getSingleton().createManual("bar0", "General");
    EXPECT_EQ(buildMeshFromModel(state, model, "bar.gmsh"), "bar1");
    EXPECT_EQ(mesh("bar1")->getGroup(), "MSH");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(MeshBuilderTest, BaseNameDropsFolderAndLastExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"foo.gmdl", "foo"},        {"/a/b/foo.5gd", "foo"},
        {"a\\b\\foo.simpe", "foo"}, {"foo.extracted.5gd", "foo.extracted"},
        {"noext", "noext"},
    };
    for (const auto& [fileName, expected] : cases) {
        EXPECT_EQ(baseNameOf(fileName), expected) << fileName;
    }
}

TEST_F(MeshBuilderTest, FourVerticesTwoTrianglesGiveInterleavedBuffers) {
    ImportedModel model;
    model.groups.push_back(quad("body"));
    ModelGroup& group = model.groups[0];
    std::string name = buildMeshFromModel(state, model, "quad.gmdl");

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
            EXPECT_EQ(written[8 * v + c], group.ownedPositions[3 * v + c]);
            EXPECT_EQ(written[8 * v + 3 + c], group.ownedNormals[3 * v + c]);
        }
        EXPECT_EQ(written[8 * v + 6], group.ownedUvs[2 * v]);
        EXPECT_EQ(written[8 * v + 7], group.ownedUvs[2 * v + 1]);
    }

    Ogre::HardwareIndexBufferSharedPtr indices = subMesh->indexData->indexBuffer;
    EXPECT_EQ(subMesh->indexData->indexCount, 6u);
    EXPECT_EQ(indices->getType(), Ogre::HardwareIndexBuffer::IT_16BIT);
    EXPECT_EQ(indices->getSizeInBytes(), 12u);
    std::vector<std::uint16_t> faces(6);
    indices->readData(0, 12, faces.data());
    EXPECT_EQ(faces, group.ownedFaces);
}

TEST_F(MeshBuilderTest, BoundsAreTheUnionOfTheGroupBoxesWithoutPadding) {
    ImportedModel model;
    model.groups.push_back(quad("a"));
    model.groups.push_back(quad("b"));
    model.groups[0].boundsMin = {-1, 0, 0};
    model.groups[0].boundsMax = {0, 2, 0};
    model.groups[1].boundsMin = {0, 0, -3};
    model.groups[1].boundsMax = {4, 0, 0};
    Ogre::AxisAlignedBox box = mesh(buildMeshFromModel(state, model, "box.gmdl"))->getBounds();
    EXPECT_EQ(box.getMinimum(), Ogre::Vector3(-1, 0, -3));
    EXPECT_EQ(box.getMaximum(), Ogre::Vector3(4, 2, 0));
}

TEST_F(MeshBuilderTest, FirstGroupBoxIsTakenUnchanged) {
    ImportedModel model;
    model.groups.push_back(quad("a"));
    model.groups[0].boundsMin = {1, 2, 3};
    model.groups[0].boundsMax = {4, 5, 6};
    Ogre::AxisAlignedBox box = mesh(buildMeshFromModel(state, model, "one.gmdl"))->getBounds();
    EXPECT_EQ(box.getMinimum(), Ogre::Vector3(1, 2, 3));
    EXPECT_EQ(box.getMaximum(), Ogre::Vector3(4, 5, 6));
}

TEST_F(MeshBuilderTest, NoGroupsGiveAnEmptyMeshAtTheOrigin) {
    ImportedModel model;
    Ogre::MeshPtr built = mesh(buildMeshFromModel(state, model, "empty.gmdl"));
    EXPECT_EQ(built->getNumSubMeshes(), 0u);
    EXPECT_EQ(built->getBounds().getMinimum(), Ogre::Vector3::ZERO);
    EXPECT_EQ(built->getBounds().getMaximum(), Ogre::Vector3::ZERO);
}

TEST_F(MeshBuilderTest, MissingArraysAreReportedAndTheGroupIsLeftOut) {
    ImportedModel model;
    model.groups.push_back(quad("broken"));
    model.groups.push_back(quad("whole"));
    model.groups[0].normals = nullptr;
    model.groups[0].faces = nullptr;
    model.groups[0].boundsMax = {100, 100, 100};
    model.groups[1].boundsMax = {1, 1, 0};
    Ogre::MeshPtr built = mesh(buildMeshFromModel(state, model, "holes.gmdl"));

    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text, "null nm pointer");
    EXPECT_EQ(platform.messages[1].text, "null fc pointer");
    for (const test::FakePlatform::Message& message : platform.messages) {
        EXPECT_TRUE(message.hasOwner);
        EXPECT_EQ(message.caption, kApplicationCaption);
        EXPECT_EQ(message.buttons, MessageButtons::Ok);
        EXPECT_EQ(message.icon, MessageIcon::None);
    }
    ASSERT_EQ(built->getNumSubMeshes(), 1u);
    EXPECT_EQ(built->getSubMeshNameMap().count("whole"), 1u);
    EXPECT_EQ(built->getBounds().getMaximum(), Ogre::Vector3(1, 1, 0));
}

TEST_F(MeshBuilderTest, EveryMissingArrayHasItsOwnMessageInOrder) {
    ImportedModel model;
    model.groups.push_back(quad("none"));
    model.groups[0].positions = nullptr;
    model.groups[0].normals = nullptr;
    model.groups[0].uvs = nullptr;
    model.groups[0].faces = nullptr;
    buildMeshFromModel(state, model, "none.gmdl");
    std::vector<std::string> texts;
    for (const auto& message : platform.messages) {
        texts.push_back(message.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"null vt pointer", "null nm pointer",
                                               "null uv pointer", "null fc pointer"}));
}

TEST_F(MeshBuilderTest, FaceIndexBeyondTheVerticesLeavesTheGroupOut) {
    ImportedModel model;
    model.groups.push_back(makeGroup("stray", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 3}));
    model.groups.push_back(quad("fine"));
    Ogre::MeshPtr built = mesh(buildMeshFromModel(state, model, "stray.5gd"));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "fc index out of range");
    ASSERT_EQ(built->getNumSubMeshes(), 1u);
    EXPECT_EQ(built->getSubMeshNameMap().count("fine"), 1u);
}

TEST_F(MeshBuilderTest, GroupWithoutFacesIsSkippedQuietly) {
    ImportedModel model;
    model.groups.push_back(makeGroup("points", {0, 0, 0}, {0, 0, 0}));
    model.groups[0].faceCount = 0;
    Ogre::MeshPtr built = mesh(buildMeshFromModel(state, model, "points.gmsh"));
    EXPECT_EQ(built->getNumSubMeshes(), 0u);
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace verada
