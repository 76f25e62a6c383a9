#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <gtest/gtest.h>
#include <QImage>

#include "engine/engine_setup.h"
#include "engine/mesh/model_loader.h"
#include "engine/scene/view_framing.h"
#include "formats/config/config.h"
#include "formats/io/printf_text.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/picture_difference.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

using test::comparePictures;
using test::PictureDifference;

struct RenderRun {
    int status = -1;
    std::string err;
};

RenderRun render(const test::TempDir& dir, const std::string& arguments) {
    std::string command = "cd '" + dir.path().string() + "' && XDG_CACHE_HOME='" +
                          (dir / "cache").string() + "' '" + test::veradaBinary().string() +
                          "' render " + arguments + " 2>stderr.txt";
    int status = std::system(command.c_str());
    RenderRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = test::readFile(dir / "stderr.txt");
    return run;
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

QImage picture(const test::TempDir& dir, const char* name) {
    return QImage(QString::fromStdString((dir / name).string()));
}

TEST(RenderCommand, EachSampleChangesThePictureWhereTheModelStands) {
    test::TempDir dir;
    RenderRun empty = render(dir, "-o empty.png --size 320x240");
    ASSERT_EQ(empty.status, 0) << empty.err;
    QImage background = picture(dir, "empty.png");
    ASSERT_EQ(background.size(), QSize(320, 240));

    for (const char* sample :
         {"gmdl/Megamouth.gmdl", "gmdc/TestMesh.5gd", "gmdc/teapot_model.extracted.5gd"}) {
        RenderRun run =
            render(dir, "-o model.png --size 320x240 " + quoted(test::samplePath(sample)));
        ASSERT_EQ(run.status, 0) << sample << ": " << run.err;
        QImage model = picture(dir, "model.png");
        ASSERT_EQ(model.size(), background.size()) << sample;
        PictureDifference difference = comparePictures(background, model);
        // Each model stands at the origin, straight ahead of the default camera: at least
        // 1% of the picture changes, in a region around the middle column.
        EXPECT_GT(difference.count, 320 * 240 / 100) << sample;
        EXPECT_LT(difference.left, 160) << sample;
        EXPECT_GT(difference.right, 160) << sample;
        EXPECT_NEAR((difference.left + difference.right) / 2.0, 160.0, 16.0) << sample;
    }
}

// The camera that --frame should reach, written as the configured view, so that a render
// without models shows what lies behind the model.
void configureFramedView(const test::TempDir& dir, const std::string& sample) {
    test::HeadlessOgre ogre;
    AppState state;
    IniProfile config = IniProfile::load((dir / "Verada.cfg").string());
    loadViewSettings(config, state.viewSettings, state.povSettings);
    state.sceneManager = ogre.freshSceneManager();
    state.camera = createCamera(*state.sceneManager, state.viewSettings);
    std::vector<AddedModel> added = addModelFileAsNewNodes(state, sample);
    ASSERT_TRUE(added.size() == 1 && added[0].built);
    ASSERT_TRUE(frameView(state));
    config.writeString("SceneParms", "SaveFinalView", "1");
    saveViewSettings(config, state.viewSettings);
    ASSERT_TRUE(config.save());
    state.sceneManager->clearScene();
    Ogre::MeshManager::getSingleton().removeAll();
}

TEST(RenderCommand, FrameShowsEachSampleWholeAndLarge) {
    for (const char* sample : {"gmdc/teapot_model.extracted.5gd", "gmdl/Megamouth.gmdl"}) {
        test::TempDir dir;
        std::filesystem::path path = test::samplePath(sample);
        // Thumbnailers ask for a square of one number.
        RenderRun framed = render(dir, "--frame -o model.png --size 256 " + quoted(path));
        ASSERT_EQ(framed.status, 0) << sample << ": " << framed.err;
        configureFramedView(dir, path.string());
        RenderRun empty = render(dir, "-o empty.png --size 256x256");
        ASSERT_EQ(empty.status, 0) << empty.err;

        QImage model = picture(dir, "model.png");
        ASSERT_EQ(model.size(), QSize(256, 256)) << sample;
        PictureDifference difference = comparePictures(picture(dir, "empty.png"), model);
        EXPECT_GE(difference.span(model.size()), 0.4) << sample;
        EXPECT_FALSE(difference.touchesEdge(model.size())) << sample;
    }
}

TEST(RenderCommand, SeveralFilesShareOneScene) {
    test::TempDir dir;
    std::string teapot = quoted(test::samplePath("gmdc/teapot_model.extracted.5gd"));
    std::string mesh = quoted(test::samplePath("gmdc/TestMesh.5gd"));
    ASSERT_EQ(render(dir, "-o one.png --size 160x120 " + mesh).status, 0);
    ASSERT_EQ(render(dir, "-o two.png --size 160x120 " + mesh + " " + teapot).status, 0);
    EXPECT_GT(comparePictures(picture(dir, "one.png"), picture(dir, "two.png")).count,
              160 * 120 / 100);
}

// The configuration is read for the view only, and the engine's log goes to the cache folder.
TEST(RenderCommand, LeavesTheWorkingFolderAndTheRecentFilesAlone) {
    test::TempDir dir;
    const std::string config =
        "[SceneParms]\r\nCameraDist=5\r\n[RecentFiles]\r\nFile0=/models/a.gmdl\r\n";
    test::writeFile(dir / "Verada.cfg", config);
    RenderRun run =
        render(dir, "--frame -o out.png " + quoted(test::samplePath("gmdc/TestMesh.5gd")));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::readFile(dir / "Verada.cfg"), config);
    EXPECT_FALSE(std::filesystem::exists(dir / "Ogre.log"));
    EXPECT_NE(test::readFile(dir / "cache" / "verada" / "Ogre.log").find("OGRE"),
              std::string::npos);
}

// A package's model item is read straight from the package, to the same picture.
TEST(RenderCommand, APackageRendersAsTheModelItHolds) {
    test::TempDir dir;
    std::string package = quoted(test::samplePath("gmdc/teapot_model.package"));
    std::string unpacked = quoted(test::samplePath("gmdc/teapot_model.extracted.5gd"));
    RenderRun fromPackage = render(dir, "-o package.png --size 160x120 " + package);
    ASSERT_EQ(fromPackage.status, 0) << fromPackage.err;
    ASSERT_EQ(render(dir, "-o file.png --size 160x120 " + unpacked).status, 0);
    ASSERT_EQ(render(dir, "-o empty.png --size 160x120").status, 0);
    QImage fromItem = picture(dir, "package.png");
    EXPECT_EQ(comparePictures(fromItem, picture(dir, "file.png")).count, 0);
    EXPECT_GT(comparePictures(fromItem, picture(dir, "empty.png")).count, 160 * 120 / 100);
}

TEST(RenderCommand, BadInputsFailWithTheirReason) {
    test::TempDir dir;
    test::writeFile(dir / "notes.txt", "text");
    test::writeFile(dir / "broken.gmdl", "GMDL");
    test::writeFile(dir / "broken.mesh", "[MeshSerializer_v1.100]");
    test::writeFile(dir / "broken.material", "material {");
    struct Case {
        std::string arguments;
        std::string reason;
        bool picture;  // a file that fails leaves the picture of the others
    };
    const Case cases[] = {
        {"-o missing/out.png", "missing/out.png: ERR: Unable to write missing/out.png.", false},
        {"-o out.png notes.txt", "notes.txt: ERR: Unknown file type", true},
        {"-o out.png missing.gmsh", "missing.gmsh: ERR: ", true},
        {"-o out.png broken.gmdl", "broken.gmdl: ERR: ", true},
        {"-o out.png broken.mesh", "broken.mesh: ERR: ", true},
        {"-o out.png broken.material", "broken.material: ERR: broken.material defines no material.",
         true},
        {"-o out.png " + quoted(test::samplePath("package/spore-smfx/Project_0.package")),
         "Project_0.package: ERR: Package holds no GMDL, GMSH or GMDC item.", true},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(dir / "out.png");
        RenderRun run = render(dir, c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << c.arguments << ": " << run.err;
        EXPECT_EQ(std::filesystem::exists(dir / "out.png"), c.picture) << c.arguments;
    }
}

// Five squares side by side in front of the default camera, one submesh each, made by Ogre's
// own converter from XML; a script colours the first and gives the others a texture each,
// written by ImageMagick (the DDS block-compressed).
void writeSquares(const test::TempDir& dir) {
    const char* square = R"(<submesh material="%s" usesharedvertices="false"
        use32bitindexes="false" operationtype="triangle_list"><faces count="2">
        <face v1="0" v2="1" v3="2"/><face v1="0" v2="2" v3="3"/></faces>
        <geometry vertexcount="4"><vertexbuffer positions="true" normals="true"
        texture_coords="1" texture_coord_dimensions_0="2">
        <vertex><position x="%f" y="0.6" z="0"/><normal x="0" y="0" z="1"/><texcoord u="0" v="1"/></vertex>
        <vertex><position x="%f" y="0.6" z="0"/><normal x="0" y="0" z="1"/><texcoord u="1" v="1"/></vertex>
        <vertex><position x="%f" y="1.1" z="0"/><normal x="0" y="0" z="1"/><texcoord u="1" v="0"/></vertex>
        <vertex><position x="%f" y="1.1" z="0"/><normal x="0" y="0" z="1"/><texcoord u="0" v="0"/></vertex>
        </vertexbuffer></geometry></submesh>)";
    const char* textured =
        "material %s { technique { pass { lighting off\n"
        "texture_unit { texture %s } } } }\n";
    struct Square {
        const char* material;
        const char* texture;
        const char* colour;
    };
    const Square squares[] = {{"Red", "", ""},
                              {"Png", "green.png", "#00ff00"},
                              {"Jpg", "blue.jpg", "#0000ff"},
                              {"Tga", "yellow.tga", "#ffff00"},
                              {"Dds", "magenta.dds", "#ff00ff"}};
    std::string mesh = "<mesh><submeshes>";
    std::string script =
        "material Red { technique { pass { ambient 0 0 0\ndiffuse 0 0 0\n"
        "specular 0 0 0 0\nemissive 1 0 0 } } }\n";
    std::string commands = "cd '" + dir.path().string() + "'";
    for (int i = 0; i < 5; ++i) {
        float x = -1.2f + 0.6f * static_cast<float>(i);
        mesh += printfText(square, squares[i].material, x - 0.25f, x + 0.25f, x + 0.25f, x - 0.25f);
        if (i > 0) {
            script += printfText(textured, squares[i].material, squares[i].texture);
            commands +=
                printfText(" && convert -size 16x16 xc:'%s' %s%s", squares[i].colour,
                           i == 4 ? "-define dds:compression=dxt1 " : "", squares[i].texture);
        }
    }
    test::writeFile(dir / "squares.mesh.xml", mesh + "</submeshes></mesh>");
    test::writeFile(dir / "squares.material", script);
    commands += " && OgreXMLConverter -q squares.mesh.xml squares.mesh >/dev/null";
    ASSERT_EQ(std::system(commands.c_str()), 0) << commands;
}

int pixelsNear(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QRgb p = image.pixel(x, y);
            if (std::abs(qRed(p) - qRed(colour)) <= 12 &&
                std::abs(qGreen(p) - qGreen(colour)) <= 12 &&
                std::abs(qBlue(p) - qBlue(colour)) <= 12) {
                ++count;
            }
        }
    }
    return count;
}

TEST(RenderCommand, ScriptColoursAndTexturesOfFourFormatsShow) {
    test::TempDir dir;
    writeSquares(dir);
    test::writeFile(dir / "cut.mesh", test::readFile(dir / "squares.mesh").substr(0, 300));
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0),
                            qRgb(255, 0, 255)};

    RenderRun plain = render(dir, "-o plain.png --size 320x240 squares.mesh");
    ASSERT_EQ(plain.status, 0) << plain.err;
    QImage without(QString::fromStdString((dir / "plain.png").string()));
    // The mesh named first still finds the script's materials; the cut mesh fails alone.
    RenderRun run =
        render(dir, "-o squares.png --size 320x240 squares.mesh cut.mesh squares.material");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("cut.mesh: ERR: ", 0), 0u) << run.err;
    QImage with(QString::fromStdString((dir / "squares.png").string()));
    ASSERT_EQ(with.size(), QSize(320, 240));
    for (QRgb colour : colours) {
        EXPECT_GT(pixelsNear(with, colour), 320 * 240 / 100) << std::hex << colour;
        EXPECT_LT(pixelsNear(without, colour), 320 * 240 / 1000) << std::hex << colour;
    }
}

TEST(RenderCommand, BarrelWithItsMaterialDiffersFromTheBarrelAlone) {
    test::TempDir dir;
    // From further back than the default, which stands inside the barrel.
    test::writeFile(dir / "Verada.cfg", "[SceneParms]\r\nCameraDist=10\r\n");
    for (const char* file : {"materials/Examples.material", "textures/RustyBarrel.png"}) {
        std::filesystem::path from = test::samplePath(std::string("ogre-mesh/") + file);
        std::filesystem::copy_file(from, dir / from.filename());
    }
    std::string barrel = quoted(test::samplePath("ogre-mesh/v1.100/Barrel.mesh"));
    RenderRun alone = render(dir, "-o alone.png --size 320x240 " + barrel);
    ASSERT_EQ(alone.status, 0) << alone.err;
    // Textures the script names but nobody copied only warn.
    RenderRun dressed = render(dir, "-o dressed.png --size 320x240 Examples.material " + barrel);
    ASSERT_EQ(dressed.status, 0) << dressed.err;
    EXPECT_NE(dressed.err.find("Examples.material: WARN: Texture \"r2skin.jpg\" of material "
                               "\"Examples/Robot\" could not be loaded.\n"),
              std::string::npos);
    EXPECT_EQ(dressed.err.find("RustyBarrel.png"), std::string::npos) << dressed.err;
    QImage plain(QString::fromStdString((dir / "alone.png").string()));
    QImage textured(QString::fromStdString((dir / "dressed.png").string()));
    PictureDifference difference = comparePictures(plain, textured);
    EXPECT_GT(difference.count, 320 * 240 / 20);
    EXPECT_NEAR((difference.left + difference.right) / 2.0, 160.0, 16.0);
}

TEST(RenderCommand, WithoutADisplayItSaysSo) {
    test::TempDir dir;
    std::string command = "cd '" + dir.path().string() + "' && DISPLAY=:97 '" +
                          test::veradaBinary().string() + "' render -o out.png 2>stderr.txt";
    int status = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
    EXPECT_NE(test::readFile(dir / "stderr.txt").find("cannot open the X display \":97\""),
              std::string::npos);
}

}  // namespace
}  // namespace verada
