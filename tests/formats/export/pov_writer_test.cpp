#include "formats/export/pov_writer.h"

#include <cstdio>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "formats/export/pov_material_writer.h"
#include "platform/application_identity.h"
#include "tests/formats/export/export_scenes.h"

namespace verada {
namespace {

using test::entity;
using test::ownSubmesh;
using test::vertexArrays;

struct WrittenScene {
    std::string text;
    Status status;
};

WrittenScene writeToMemory(const SceneSnapshot& scene, const ViewSettings& view,
                           const PovSettings& pov) {
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* file = open_memstream(&buffer, &size);
    Status status = writePovScene(file, scene, view, pov, kApplicationCaption);
    std::fclose(file);
    std::unique_ptr<char, decltype(&std::free)> owned(buffer, &std::free);
    return {std::string(buffer, size), status};
}

// The expected text is written with plain line ends; the file has "\r\n" throughout.
std::string withCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

MaterialSnapshot layered(const std::string& name, MaterialLayerSettings layer) {
    layer.materialName = name;
    return {name, {layer}};
}

SceneSnapshot goldenScene() {
    SceneSnapshot scene;
    MaterialLayerSettings white;
    white.hasAmbient = true;
    white.ambient = {1, 1, 1};
    white.hasDiffuse = true;
    white.diffuse = {1, 1, 1, 1};
    MaterialLayerSettings backdrop;
    backdrop.hasSpecular = true;
    backdrop.specular = {1, 0.5f, 0.5f, 0.2f};
    backdrop.hasDiffuse = true;
    backdrop.diffuse = {1, 0.3f, 0.6f, 0.9f};
    scene.materials = {layered("BaseWhite", white),
                       test::texturedMaterial("Ogre/Skin", "GreenSkin.jpg"),
                       test::texturedMaterial("Shouty", "SKIN.JPG"),
                       test::texturedMaterial("Eyes", "eye.png"),
                       layered("background", backdrop),
                       {"Empty", {}},
                       test::texturedMaterial("NoExt", "plainname")};

    MeshSnapshot body;
    body.name = "body";
    body.submeshes.push_back(
        ownSubmesh("GroupIndex00",
                   vertexArrays({1, 2, 3, 1, 0, 0, 0, 1, 0}, {0, 0, 1, 0, 0, 1, 0, 0, 1},
                                {0.25f, 0.75f, 0, 0, 1, 0.5f}),
                   {0, 1, 2}));
    body.submeshes.push_back(
        ownSubmesh("Eye-Left", vertexArrays({0, 0, 1, 1, 0, 1, 0, 1, 1}, {}, {0, 0, 1, 0, 0, 1}),
                   {2, 1, 0, 0}, true));
    SubmeshSnapshot noIndexData = ownSubmesh("NoIndex", vertexArrays({0, 0, 0}, {}, {}), {});
    noIndexData.hasIndexData = false;
    body.submeshes.push_back(noIndexData);
    MeshSnapshot triangle;
    triangle.name = "tri";
    const VertexArrays corners = vertexArrays({0, 0, 0, 1, 0, 0, 0, 1, 0}, {}, {});
    triangle.submeshes.push_back(ownSubmesh("GroupIndex00", corners, {0, 1, 2}));
    // POV-Ray refuses a face index past the vertices: left out, with one warning per mesh.
    triangle.submeshes.push_back(ownSubmesh("Broken", corners, {0, 1, 3}));
    scene.meshes = {test::prefabPlane(), body, triangle};

    NodeSnapshot floor{"groundplane",
                       {},
                       {-0.70710677f, 0, 0, 0.70710677f},
                       {1, 1, 1},
                       {entity("groundplane", 0, {"BaseWhite"})}};
    NodeSnapshot backdropNode{"background",
                              {0, 0, -8},
                              {0, 0, 0, 1},
                              {1, 1, 1},
                              {entity("background", 0, {"background"})}};
    // Turned 90 degrees about y and scaled; its second object is hidden and names a material
    // the scene does not hold.
    NodeSnapshot turned{"body.01",
                        {1, 2, 3},
                        {0, 0.70710677f, 0, 0.70710677f},
                        {2, 0.5f, 1},
                        {entity("body.01", 1, {"Ogre/Skin", "Eyes", "BaseWhite"}),
                         entity("lamp", 2, {"Missing"}, false)}};
    NodeSnapshot hidden{
        "hidden", {}, {0, 0, 0, 1}, {1, 1, 1}, {entity("hidden", 2, {"Shouty"}, false)}};
    scene.nodes = {floor, backdropNode, turned, hidden};
    return scene;
}

const char* const kPlaneVertices = R"(  vertex_vectors {
    4
    <-100.000000, -100.000000, -0.000000>,
    <100.000000, -100.000000, -0.000000>,
    <100.000000, 100.000000, -0.000000>,
    <-100.000000, 100.000000, -0.000000>
    }
  normal_vectors {
    4
    <0.000000, 0.000000, -1.000000>,
    <0.000000, 0.000000, -1.000000>,
    <0.000000, 0.000000, -1.000000>,
    <0.000000, 0.000000, -1.000000>
    }
  uv_vectors {
    4
    <0.000000, -1.000000>,
    <1.000000, -1.000000>,
    <1.000000, -0.000000>,
    <0.000000, -0.000000>
    }
  face_indices {
    2
    <0,1,2>,
    <0,2,3>
    }
  }
)";

const char* const kTriangle = R"(mesh2 {
  vertex_vectors {
    3
    <0.000000, 0.000000, -0.000000>,
    <1.000000, 0.000000, -0.000000>,
    <0.000000, 1.000000, -0.000000>
    }
  face_indices {
    1
    <0,1,2>
    }
  }
)";

const std::string kGolden =
    std::string(R"(// POV-Ray trace file, generated with Verada V0.22 - created by Dudoda

light_source {
  <20.000000, 80.000000, -50.000000>
  rgb 1.3
  }

camera {
  location <0.500000, 1.000000, -2.000000>
  look_at  <0.000000, 0.700000, 2.000000>
  }

background {
  color rgb <0.100000, 0.100000, 0.450000>
  }

// Materials Lists
#declare BaseWhite =
  texture {
      pigment {rgb <1.000000, 1.000000, 1.000000>}
      finish {
        diffuse 1.000000
      }
  }

#declare Ogre_Skin =
  texture {
    uv_mapping
    pigment {
      image_map {jpeg "tex/GreenSkin.jpg"
      interpolate 2
      }
    }
  }

#declare Shouty =
  texture {
    uv_mapping
    pigment {
      image_map {jpeg "tex/SKIN.JPG"
      interpolate 2
      }
    }
  }

#declare Eyes =
  texture {
    uv_mapping
    pigment {
      image_map {png "tex/eye.png"
      interpolate 2
      }
    }
  }

#declare b_background =
  texture {
      pigment {rgb <0.000000, 0.000000, 0.000000>}
      finish {
        specular 0.400000
        diffuse 0.600000
      }
  }

#declare Empty =
  texture {
      pigment {rgb <0.000000, 0.000000, 0.000000>}
      finish {
      }
  }

#declare NoExt =
  texture {
    uv_mapping
    pigment {
      image_map { "tex/plainname"
      interpolate 2
      }
    }
  }

// Mesh:groundplane
#declare groundplane_GroupIndex00 =
mesh2 {
)") +
    kPlaneVertices + R"(
// Mesh:background
#declare background_GroupIndex00 =
mesh2 {
)" + kPlaneVertices +
    R"(
// Mesh:body.01
#declare body_01_GroupIndex00 =
mesh2 {
  vertex_vectors {
    3
    <1.000000, 2.000000, -3.000000>,
    <1.000000, 0.000000, -0.000000>,
    <0.000000, 1.000000, -0.000000>
    }
  normal_vectors {
    3
    <0.000000, 0.000000, -1.000000>,
    <0.000000, 0.000000, -1.000000>,
    <0.000000, 0.000000, -1.000000>
    }
  uv_vectors {
    3
    <0.250000, -0.750000>,
    <0.000000, -0.000000>,
    <1.000000, -0.500000>
    }
  face_indices {
    1
    <0,1,2>
    }
  }

#declare body_01_Eye_Left =
mesh2 {
  vertex_vectors {
    3
    <0.000000, 0.000000, -1.000000>,
    <1.000000, 0.000000, -1.000000>,
    <0.000000, 1.000000, -1.000000>
    }
  uv_vectors {
    3
    <0.000000, -0.000000>,
    <1.000000, -0.000000>,
    <0.000000, -1.000000>
    }
  face_indices {
    1
    <2,1,0>
    }
  }

// Mesh:lamp
#declare lamp_GroupIndex00 =
)" + kTriangle +
    R"(
// Mesh:hidden
#declare hidden_GroupIndex00 =
)" + kTriangle +
    R"(
// SceneNodes
object {
  groundplane_GroupIndex00
  texture   {BaseWhite}
  scale     <1.000000, 1.000000, 1.000000>
  rotate    <90.000000, -0.000000, 0.000000>
  translate <0.000000, 0.000000, -0.000000>
  }

object {
  background_GroupIndex00
  texture   {b_background}
  scale     <1.000000, 1.000000, 1.000000>
  rotate    <-0.000000, 0.000000, 0.000000>
  translate <0.000000, 0.000000, 8.000000>
  }

object {
  body_01_GroupIndex00
  texture   {Ogre_Skin}
  scale     <2.000000, 0.500000, 1.000000>
  rotate    <-0.000000, -89.980209, 0.000000>
  translate <1.000000, 2.000000, -3.000000>
  }

object {
  body_01_Eye_Left
  texture   {Eyes}
  scale     <2.000000, 0.500000, 1.000000>
  rotate    <-0.000000, -89.980209, 0.000000>
  translate <1.000000, 2.000000, -3.000000>
  }

object {
  lamp_GroupIndex00
  scale     <2.000000, 0.500000, 1.000000>
  rotate    <-0.000000, -89.980209, 0.000000>
  translate <1.000000, 2.000000, -3.000000>
  }

)";

TEST(PovWriter, WritesTheSceneByteForByte) {
    ViewSettings view;
    view.lightPosition = {20, 80, 50};
    view.cameraXPos = 0.5f;
    view.cameraYPos = 1;
    view.cameraDist = 2;
    view.cameraLookX = 0;
    view.cameraLookY = 0.7f;
    view.bgndRed = 0.1f;
    view.bgndGreen = 0.1f;
    view.bgndBlue = 0.45f;
    PovSettings pov;
    pov.povTexturePath = "tex/";

    const WrittenScene written = writeToMemory(goldenScene(), view, pov);
    EXPECT_TRUE(written.status.ok());
    EXPECT_EQ(written.status.warnings(),
              std::vector<std::string>{"WARN: Submesh Broken of mesh tri holds an index past its 3 "
                                       "vertices and is left out."});
    EXPECT_EQ(written.text, withCrLf(kGolden));
}

TEST(PovWriter, ImageTypeFollowsTheExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"skin.jpg", "jpeg"}, {"skin.JPG", "jpeg"}, {"skin.png", "png"},
        {"skin.tga", "tga"},  {"skin", ""},         {"tex.d/skin", ""},
        {"skin.dds", ""},     {"skin.", ""},        {"a.b.Tiff", "tiff"}};
    for (const auto& [name, type] : cases) {
        EXPECT_EQ(povImageType(name), type) << name;
    }
}

}  // namespace
}  // namespace verada
