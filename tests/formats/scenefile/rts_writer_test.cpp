#include "formats/scenefile/rts_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/formats/scenefile/rts_written_text.h"

namespace verada {
namespace {

using test::writtenRtsText;

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

ViewSettings exampleView() {
    ViewSettings view;
    view.lightPosition = {0.0f, 15.0f, 25.0f};
    view.lightDiffuseColor = {1.0f, 0.6f, 0.4f};
    view.lightSpecularColor = {1.0f, 0.4f, 0.6f};
    view.cameraXPos = -12.5f;
    return view;
}

// One node showing one mesh of one submesh, as in the format's description, and a second
// material whose layer has every value line.
SceneSnapshot exampleScene() {
    SceneSnapshot scene;
    scene.materials.push_back({"mat1", {MaterialLayerSettings{}}});
    MaterialLayerSettings full;
    full.hasShininess = true;
    full.shininess = 12.5f;
    full.hasAmbient = true;
    full.ambient = {0.1f, 0.2f, 0.3f};
    full.hasSpecular = true;
    full.specular = {1.0f, 0.5f, 0.25f, 0.125f};
    full.hasDiffuse = true;
    full.diffuse = {0.5f, 1.0f, 0.0f, 0.75f};
    full.hasSelfIllumination = true;
    full.selfIllumination = {0.0f, 0.0f, 1.0f};
    full.hasTexture = true;
    full.textureName = "stone.png";
    full.alphaLayer = true;
    scene.materials.push_back({"mat2", {full, MaterialLayerSettings{}}});
    scene.materials.push_back({"BaseWhite", {}});

    MeshSnapshot mesh;
    mesh.name = "mesh1.mesh";
    mesh.bounds = {-1.0f, 0.0f, -1.0f, 1.0f, 2.0f, 1.0f};
    SubmeshSnapshot submesh;
    submesh.label = "GroupIndex00";
    submesh.vertices.vertexCount = 3;
    submesh.vertices.positions = {-1, 0, -1, 1, 0, -1, 0, 2, 1};
    submesh.vertices.normals = {0, 1, 0, 0, 1, 0, 0, 1, 0};
    submesh.vertices.uvs = {0, 0, 1, 0, 0.5f, 1};
    submesh.indices = {0, 1, 2};
    mesh.submeshes.push_back(submesh);
    scene.meshes.push_back(mesh);
    NodeSnapshot node;
    node.name = "node1";
    node.objects.push_back({"mesh1", true, 0, {"mat1"}});
    scene.nodes.push_back(node);
    return scene;
}

TEST(RtsWriter, WritesTheFormatsExampleLineForLine) {
    EXPECT_EQ(writtenRtsText(exampleView(), exampleScene()),
              joinLines({"[RTSData]",
                         "RTSVersion=1",
                         "RetainTraceFile=1",
                         "LightPosition=0.000000 15.000000 25.000000",
                         "LightDiffuseColor=1.000000 0.600000 0.400000",
                         "LightSpecularColor=1.000000 0.400000 0.600000",
                         "CameraXPos=-12.500000",
                         "CameraYPos=1.000000",
                         "CameraDist=2.000000",
                         "CameraLookX=0.000000",
                         "CameraLookY=0.700000",
                         "CameraNearClip=1.000000",
                         "CameraFOVY=60.000000",
                         "BackgroundShift=8.000000",
                         "BgndRed=0.100000",
                         "BgndGreen=0.100000",
                         "BgndBlue=0.450000",
                         "BgndAlpha=1.000000",
                         "[Materials]",
                         "MatlCount=3",
                         "Matl0000=mat1",
                         "M0000NumLayers=1",
                         "M0000L00isShiny=0",
                         "M0000L00isAmbient=0",
                         "M0000L00isSpecular=0",
                         "M0000L00isDiffuse=0",
                         "M0000L00isSelfIllum=0",
                         "M0000L00hasTexture=0",
                         "Matl0001=mat2",
                         "M0001NumLayers=2",
                         "M0001L00isShiny=1",
                         "M0001L00ShinyVal=12.500000",
                         "M0001L00isAmbient=1",
                         "M0001L00Ambient=0.100000 0.200000 0.300000",
                         "M0001L00isSpecular=1",
                         "M0001L00Specular=1.000000 0.500000 0.250000 0.125000",
                         "M0001L00isDiffuse=1",
                         "M0001L00Diffuse=0.500000 1.000000 0.000000 0.750000",
                         "M0001L00isSelfIllum=1",
                         "M0001L00SelfIllum=0.000000 0.000000 1.000000",
                         "M0001L00hasTexture=1",
                         "M0001L00TexName=stone.png",
                         "M0001L00TexAlpha=1",
                         "M0001L01isShiny=0",
                         "M0001L01isAmbient=0",
                         "M0001L01isSpecular=0",
                         "M0001L01isDiffuse=0",
                         "M0001L01isSelfIllum=0",
                         "M0001L01hasTexture=0",
                         "Matl0002=BaseWhite",
                         "M0002NumLayers=0",
                         "[SceneNodes]",
                         "NumSceneNodes=1",
                         "SN00Name=node1",
                         "SN00Position=0.000000 0.000000 0.000000",
                         "SN00OrientationXYZW=0.000000 0.000000 0.000000 1.000000",
                         "SN00ScaleXYZ=1.000000 1.000000 1.000000",
                         "SN00MeshCount=1",
                         "SN00Mesh00Name=mesh1",
                         "[Mesh:mesh1]",
                         "Bounds=-1.000000 0.000000 -1.000000 1.000000 2.000000 1.000000",
                         "SharedVertexCount=0",
                         "NumSubMeshes=1",
                         "SM00Name=GroupIndex00",
                         "SM00Material=mat1",
                         "SM00UseSharedVertices=0",
                         "SM00VertexCount=3",
                         "SM00V00000=-1.000000 0.000000 -1.000000 0.000000 1.000000 0.000000 "
                         "0.000000 0.000000",
                         "SM00V00001=1.000000 0.000000 -1.000000 0.000000 1.000000 0.000000 "
                         "1.000000 0.000000",
                         "SM00V00002=0.000000 2.000000 1.000000 0.000000 1.000000 0.000000 "
                         "0.500000 1.000000",
                         "SM00FaceCount=1",
                         "SM00F00000=0 1 2"}));
}

// No limit on nodes, objects or mesh sections: indices grow to three digits. Names are cut to
// 255 characters and line breaks in them become "_". Shared vertices without normals or
// texture coordinates write zeros; 32-bit indices are written signed, 16-bit ones unsigned; an
// index count of 4 makes one face; a sub-entity list shorter than the submeshes repeats its last.
TEST(RtsWriter, WritesEveryNodeObjectAndIndexWidth) {
    MeshSnapshot mesh;
    mesh.sharedVertices = VertexArrays{2, {1, 2, 3, 4, 5, 6}, {}, {}};
    SubmeshSnapshot wide;
    wide.useSharedVertices = true;
    wide.indices32 = true;
    wide.indices = {0, 1, 0xFFFFFFFFu, 1};
    SubmeshSnapshot narrow = wide;
    narrow.indices32 = false;
    narrow.indices = {40000, 0, 1};
    mesh.submeshes = {wide, narrow};
    SceneSnapshot scene;
    scene.meshes = {mesh};
    for (int n = 0; n < 130; ++n) {
        scene.nodes.push_back({"n" + std::to_string(n), {}, {0, 0, 0, 1}, {1, 1, 1}, {}});
        scene.nodes[0].objects.push_back({"o" + std::to_string(n), true, 0, {"only"}});
    }
    scene.nodes[1].name = "a\r\nb" + std::string(300, 'x');
    scene.nodes[129].objects.push_back({"last", true, 0, {}});
    std::string text = writtenRtsText(ViewSettings{}, scene);

    for (const std::string& line : std::vector<std::string>{
             "NumSceneNodes=130", "SN00MeshCount=130", "SN00Mesh129Name=o129", "SN129Name=n129",
             "SN129Mesh00Name=last", "[Mesh:o129]", "[Mesh:last]",
             "SN01Name=a__b" + std::string(251, 'x'),
             "ShV00001=4.000000 5.000000 6.000000 0.000000 0.000000 0.000000 0.000000 0.000000",
             "SM00FaceCount=1", "SM00F00000=0 1 -1", "SM01Material=only", "SM01F00000=40000 0 1"}) {
        EXPECT_NE(text.find("\n" + line + "\r\n"), std::string::npos) << line;
    }
    std::size_t sections = 0;
    for (std::size_t at = text.find("\n[Mesh:"); at != std::string::npos;
         at = text.find("\n[Mesh:", at + 1)) {
        ++sections;
    }
    EXPECT_EQ(sections, 131u);
}

TEST(RtsWriter, ReportsAFailedWrite) {
    std::FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    EXPECT_FALSE(writeRtsText(full, ViewSettings{}, exampleScene()));
    std::fclose(full);
}

}  // namespace
}  // namespace verada
