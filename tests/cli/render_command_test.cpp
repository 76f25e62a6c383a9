#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <OgreMeshManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>
#include <gtest/gtest.h>
#include <QImage>

#include "engine/engine_setup.h"
#include "engine/mesh/model_loader.h"
#include "engine/scene/view_framing.h"
#include "formats/config/config.h"
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
    Ogre::ResourceGroupManager::getSingleton().createResourceGroup("MSH");
    state.camera = createCamera(*state.sceneManager, state.viewSettings);
    ASSERT_TRUE(addModelFileAsNewNode(state, sample));
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

TEST(RenderCommand, BadInputsFailWithTheirReason) {
    test::TempDir dir;
    test::writeFile(dir / "notes.txt", "text");
    test::writeFile(dir / "broken.gmdl", "GMDL");
    const std::pair<std::string, std::string> cases[] = {
        {"-o out.png notes.txt", "notes.txt: ERR: Unknown model file type"},
        {"-o out.png missing.gmsh", "missing.gmsh: ERR: "},
        {"-o out.png broken.gmdl", "broken.gmdl: ERR: "},
        {"-o missing/out.png", "missing/out.png: ERR: Unable to write missing/out.png."},
    };
    for (const auto& [arguments, reason] : cases) {
        RenderRun run = render(dir, arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_NE(run.err.find(reason), std::string::npos) << arguments << ": " << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.png")) << arguments;
    }
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
