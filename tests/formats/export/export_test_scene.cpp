#include "tests/formats/export/export_test_scene.h"

#include "tests/formats/export/export_scenes.h"

namespace verada::test {

SceneSnapshot exportTestScene() {
    SceneSnapshot scene;
    MaterialSnapshot glass = colourMaterial("Glass", 0.2f, 0.4f, 1.5f, 0.5f);
    glass.layers[0].alphaLayer = true;
    MaterialSnapshot crate = texturedMaterial("Crate", "RustyBarrel.png");
    crate.layers[0].diffuse = {1, 0.9f, 0.8f, 0.7f};
    scene.materials = {colourMaterial("BaseWhite", 1, 1, 1, 1), crate, glass,
                       texturedMaterial("Lost", "missing.png")};

    MeshSnapshot box;
    box.name = "box";
    const float diagonal = 0.70710677f;
    box.submeshes.push_back(
        ownSubmesh("Quad",
                   vertexArrays({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0},
                                {0, 0, 2, 0, 0, 0, 0, 0, 1, diagonal, diagonal, 0},
                                {0.25f, 0.75f, 1, 1, 1, 0, 0, 0}),
                   {0, 1, 2, 0, 2, 3}));
    box.submeshes.push_back(ownSubmesh(
        "Tri", vertexArrays({0, 0, 1, 1, 0, 1, 0, 1, 1}, {}, {0, 0, 1, 0, 0, 1}), {0, 1, 2}, true));
    box.submeshes.push_back(
        ownSubmesh("Broken", vertexArrays({0, 0, 0, 1, 0, 0, 0, 1, 0}, {}, {}), {0, 1, 3}));
    scene.meshes = {prefabPlane(), box};

    const std::vector<std::string> boxMaterials = {"Crate", "Glass", "BaseWhite"};
    scene.nodes = {
        {"groundplane",
         {},
         {-0.70710677f, 0, 0, 0.70710677f},
         {1, 1, 1},
         {entity("groundplane", 0, {"BaseWhite"})}},
        {"background",
         {0, 0, -8},
         {0, 0, 0, 1},
         {1, 1, 1},
         {entity("background", 0, {"BaseWhite"})}},
        {"turned",
         {1, 2, 3},
         {0, diagonal, 0, diagonal},
         {2, 0.5f, 1},
         {entity("crate", 1, boxMaterials)}},
        {"moved",
         {-4, 0, 0.5f},
         {0, 0, 0, 1},
         {1, 1, 1},
         {entity("crate0", 1, boxMaterials), entity("tile\xB0", 0, {"Lost"})}},
        {"hidden", {}, {0, 0, 0, 1}, {1, 1, 1}, {entity("ghost", 1, boxMaterials, false)}},
    };
    return scene;
}

}  // namespace verada::test
