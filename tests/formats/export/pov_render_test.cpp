// A sample model written as a POV-Ray scene renders in POV-Ray itself.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/export/pov_writer.h"
#include "platform/application_identity.h"
#include "tests/formats/export/export_peers.h"
#include "tests/formats/export/export_scenes.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

namespace fs = std::filesystem;

// The sample creature centred at the origin, one unit across, turned by 30 degrees about y.
NodeSnapshot centredNode(const MeshSnapshot& mesh) {
    std::array<float, 3> low{1e30f, 1e30f, 1e30f};
    std::array<float, 3> high{-1e30f, -1e30f, -1e30f};
    for (const SubmeshSnapshot& submesh : mesh.submeshes) {
        const std::vector<float>& positions = submesh.vertices.positions;
        for (std::size_t i = 0; i < positions.size(); ++i) {
            low[i % 3] = std::min(low[i % 3], positions[i]);
            high[i % 3] = std::max(high[i % 3], positions[i]);
        }
    }
    const float extent = std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
    const float scale = 1 / extent;
    const float half = 15 * 3.14159265f / 180;
    NodeSnapshot node;
    node.name = "Megamouth";
    node.scale = {scale, scale, scale};
    node.orientation = {0, std::sin(half), 0, std::cos(half)};
    node.position = {-scale * (low[0] + high[0]) / 2, -scale * (low[1] + high[1]) / 2,
                     -scale * (low[2] + high[2]) / 2};
    std::vector<std::string> materials = {"Ogre/Skin", "red"};
    node.objects = {test::entity("Megamouth", 0, materials)};
    return node;
}

// Writes the scene into the folder and renders it there at 320 x 240, as Debian's povray.conf
// lets POV-Ray read and write only there.
void render(const fs::path& folder, const std::string& name, const SceneSnapshot& scene) {
    ViewSettings view;
    view.lightPosition = {2, 4, 6};
    view.cameraXPos = 0;
    view.cameraYPos = 0;
    view.cameraDist = 2;
    view.cameraLookX = 0;
    view.cameraLookY = 0;
    std::FILE* file = std::fopen((folder / (name + ".pov")).c_str(), "wb");
    ASSERT_NE(file, nullptr);
    const Status status = writePovScene(file, scene, view, PovSettings{}, kApplicationCaption);
    ASSERT_EQ(std::fclose(file), 0);
    EXPECT_TRUE(status.ok());
    const test::CommandOutput povray =
        test::runCommand("cd '" + folder.string() + "' && povray +I" + name + ".pov +O" + name +
                         ".png +W320 +H240 -D");
    EXPECT_EQ(povray.status, 0) << povray.output;
}

// ImageMagick's count of the pixels that differ within a square of the two pictures; -1 when
// it could not compare them (its status 2).
int differingPixels(const fs::path& a, const fs::path& b, int left, int top, int size) {
    const test::CommandOutput compare =
        test::runCommand("compare -metric AE -extract " + std::to_string(size) + "x" +
                         std::to_string(size) + "+" + std::to_string(left) + "+" +
                         std::to_string(top) + " '" + a.string() + "' '" + b.string() + "' null:");
    return compare.status == 0 || compare.status == 1 ? std::atoi(compare.output.c_str()) : -1;
}

TEST(PovRender, SampleModelRendersWhereItStands) {
    test::TempDir folder;
    // An upper-case extension, and material names POV-Ray would refuse as they are.
    fs::copy_file(test::samplePath("ogre-mesh/textures/GreenSkin.jpg"), folder / "skin.JPG");
    SceneSnapshot scene;
    scene.materials = {test::texturedMaterial("Ogre/Skin", "skin.JPG"),
                       test::colourMaterial("red", 0.8f, 0.1f, 0.1f, 1)};
    render(folder.path(), "empty", scene);

    scene.meshes = {test::sampleMesh("gmdl/Megamouth.gmdl", "Megamouth")};
    scene.nodes = {centredNode(scene.meshes[0])};
    render(folder.path(), "model", scene);

    const fs::path empty = folder / "empty.png";
    const fs::path model = folder / "model.png";
    ASSERT_TRUE(fs::exists(empty) && fs::exists(model));
    EXPECT_GT(differingPixels(empty, model, 140, 100, 40), 40 * 40 * 3 / 4);
    EXPECT_EQ(differingPixels(empty, model, 0, 0, 20), 0);
    EXPECT_EQ(differingPixels(empty, model, 300, 220, 20), 0);
}

}  // namespace
}  // namespace verada
