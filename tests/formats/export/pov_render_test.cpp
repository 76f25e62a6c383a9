// A sample model written as a POV-Ray scene renders in POV-Ray itself.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
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

constexpr int kWidth = 320;
constexpr int kHeight = 240;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    const unsigned char* at(int x, int y) const { return &rgb[3 * (y * width + x)]; }
};

// The next header field of a PPM file, past blanks and "#" comment lines.
int ppmField(std::istream& in) {
    while (in >> std::ws && in.peek() == '#') {
        in.ignore(1 << 20, '\n');
    }
    int value = 0;
    in >> value;
    return value;
}

// POV-Ray's binary PPM output: "P6", comments, width, height, 255, one blank, the pixels.
Picture readPpm(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    char magic[2] = {};
    in.read(magic, 2);
    Picture picture;
    picture.width = ppmField(in);
    picture.height = ppmField(in);
    const int maxValue = ppmField(in);
    in.get();
    if (magic[0] != 'P' || magic[1] != '6' || maxValue != 255 || picture.width <= 0 ||
        picture.height <= 0) {
        return {};
    }
    picture.rgb.resize(3 * static_cast<std::size_t>(picture.width) * picture.height);
    in.read(reinterpret_cast<char*>(picture.rgb.data()),
            static_cast<std::streamsize>(picture.rgb.size()));
    return in ? picture : Picture{};
}

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

// Writes the scene into the folder and renders it there, as Debian's povray.conf allows.
Picture render(const fs::path& folder, const std::string& name, const SceneSnapshot& scene) {
    ViewSettings view;
    view.lightPosition = {2, 4, 6};
    view.cameraXPos = 0;
    view.cameraYPos = 0;
    view.cameraDist = 2;
    view.cameraLookX = 0;
    view.cameraLookY = 0;
    std::FILE* file = std::fopen((folder / (name + ".pov")).c_str(), "wb");
    EXPECT_NE(file, nullptr);
    if (file == nullptr) {
        return {};
    }
    const Status status = writePovScene(file, scene, view, PovSettings{}, kApplicationCaption);
    EXPECT_EQ(std::fclose(file), 0);
    EXPECT_TRUE(status.ok());
    const test::CommandOutput povray =
        test::runCommand("cd '" + folder.string() + "' && povray +I" + name + ".pov +O" + name +
                         ".ppm +FP +W320 +H240 -D");
    EXPECT_EQ(povray.status, 0) << povray.output;
    return readPpm(folder / (name + ".ppm"));
}

int differingPixels(const Picture& a, const Picture& b, int left, int top, int size) {
    int differing = 0;
    for (int y = top; y < top + size; ++y) {
        for (int x = left; x < left + size; ++x) {
            differing += std::memcmp(a.at(x, y), b.at(x, y), 3) != 0;
        }
    }
    return differing;
}

TEST(PovRender, SampleModelRendersWhereItStands) {
    test::TempDir folder;
    // An upper-case extension, and material names POV-Ray would refuse as they are.
    fs::copy_file(test::samplePath("ogre-mesh/textures/GreenSkin.jpg"), folder / "skin.JPG");
    SceneSnapshot scene;
    scene.materials = {test::texturedMaterial("Ogre/Skin", "skin.JPG"),
                       test::colourMaterial("red", 0.8f, 0.1f, 0.1f, 1)};
    const Picture empty = render(folder.path(), "empty", scene);

    scene.meshes = {test::sampleMesh("gmdl/Megamouth.gmdl", "Megamouth")};
    scene.nodes = {centredNode(scene.meshes[0])};
    const Picture model = render(folder.path(), "model", scene);

    ASSERT_EQ(empty.width, kWidth);
    ASSERT_EQ(model.width, kWidth);
    ASSERT_EQ(model.height, kHeight);
    const int box = 40;
    EXPECT_GT(differingPixels(empty, model, (kWidth - box) / 2, (kHeight - box) / 2, box),
              box * box * 3 / 4);
    EXPECT_EQ(differingPixels(empty, model, 0, 0, 20), 0);
    EXPECT_EQ(differingPixels(empty, model, kWidth - 20, kHeight - 20, 20), 0);
}

}  // namespace
}  // namespace verada
