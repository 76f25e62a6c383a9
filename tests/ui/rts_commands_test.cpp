#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreSceneManager.h>
#include <gtest/gtest.h>
#include <QImage>

#include "engine/scene/camera_placement.h"
#include "tests/support/rts_text_compare.h"
#include "tests/support/viewer_fixture.h"
#include "ui/main_window.h"
#include "ui/menu_table.h"

namespace verada {
namespace {

class RtsCommands : public test::ViewerFixture {
  protected:
    void expectRtsDialog(bool save) {
        const FileDialogRequest& request = platform_.fileRequests.back();
        EXPECT_EQ(request.save, save);
        EXPECT_EQ(request.defaultExtension, "rts");
        ASSERT_EQ(request.filters.size(), 2u);
        EXPECT_EQ(request.filters[0].text + request.filters[0].pattern,
                  "Verada RTS files (*.rts)*.rts");
        EXPECT_EQ(request.filters[1].text + request.filters[1].pattern, "All Files (*.*)*.*");
    }

    std::vector<std::string> nodeNames() {
        std::vector<std::string> names;
        for (const Ogre::Node* node : state().sceneManager->getRootSceneNode()->getChildren()) {
            names.push_back(node->getName());
        }
        return names;
    }

    // Where the middle of an entity's box shows in the view.
    std::pair<int, int> middleOf(const std::string& entity) {
        return project(
            state().sceneManager->getEntity(entity)->getWorldBoundingBox(true).getCenter());
    }
};

std::string sample(const std::string& name) {
    return test::samplePath(name).string();
}

// What the viewer saves is what `verada export` writes for the same files: the geometry read
// back from the render system's buffers is the geometry the headless engine holds.
TEST_F(RtsCommands, SaveRemoveAllAndLoadInTheViewer) {
    startSession("[SceneParms]\r\nCameraDist=4\r\n");
    MainWindow& window = session_->window();
    const std::vector<std::string> models = {
        sample("gmdl/Megamouth.gmdl"), sample("gmdc/TestMesh.5gd"),
        sample("ogre-mesh/v1.100/knot.mesh"), sample("gmdc/teapot_model.extracted.5gd")};
    platform_.fileAnswers.assign(models.begin(), models.end());
    window.runCommand(kCmdAddGmdl);
    window.runCommand(kCmdAddSims2);
    window.runCommand(kCmdAddOgre);
    const std::vector<std::string> saved = {"groundplane", "background", "Megamouth", "TestMesh",
                                            "knot"};
    ASSERT_EQ(nodeNames(), saved);
    const Ogre::ColourValue shown = pixelAt(middleOf("TestMesh"));

    const std::filesystem::path file = dir_ / "scenes" / "saved.rts";
    std::filesystem::create_directory(dir_ / "scenes");
    platform_.fileAnswers.push_front(file.string());
    window.runCommand(kCmdSaveRts);
    expectRtsDialog(true);
    EXPECT_TRUE(platform_.messages.empty());
    EXPECT_EQ(std::filesystem::current_path(), dir_.path());
    std::string command = "'" + test::veradaBinary().string() + "' export -o exported.rts";
    for (std::size_t m = 0; m < 3; ++m) {
        command += " '" + models[m] + "'";
    }
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::string viewer = test::readFile(file);
    std::string exported = test::readFile(dir_ / "exported.rts");
    EXPECT_EQ(test::rtsLines(viewer, "[RTSData]", "[Materials]"),
              test::rtsLines(exported, "[RTSData]", "[Materials]"));
    std::vector<std::string> nodesAndMeshes = test::rtsLines(viewer, "[SceneNodes]");
    EXPECT_GT(nodesAndMeshes.size(), 30000u);
    EXPECT_TRUE(nodesAndMeshes == test::rtsLines(exported, "[SceneNodes]"));

    // After Remove All a new model is lit: its middle is neither black nor the background.
    window.runCommand(kCmdRemoveAll);
    window.runCommand(kCmdAddSims2);
    Ogre::ColourValue lit = pixelAt(middleOf("teapot_model.extracted"));
    EXPECT_GT(distance(lit, Ogre::ColourValue::Black), 0.2f);
    EXPECT_GT(distance(lit, Ogre::ColourValue(0.1f, 0.1f, 0.45f)), 0.2f);

    // A file of a newer version leaves the scene as it was.
    test::writeFile(dir_ / "newer.rts", "[RTSData]\r\nRTSVersion=2\r\n");
    platform_.fileAnswers.push_back((dir_ / "newer.rts").string());
    window.runCommand(kCmdLoadRts);
    expectRtsDialog(false);
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(platform_.messages[0].text, "You need a newer program version to use this file");
    EXPECT_TRUE(platform_.messages[0].hasOwner);
    EXPECT_EQ(platform_.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(nodeNames(), (std::vector<std::string>{"teapot_model"}));

    // The saved scene comes back in its view, however the camera was moved since, and what the
    // load built reads back in the viewer too.
    placeCamera(*state().camera, Ogre::Vector3(3, 3, 9), Ogre::Vector3::ZERO);
    platform_.fileAnswers.push_back(file.string());
    platform_.fileAnswers.push_back((dir_ / "scenes" / "again.rts").string());
    window.runCommand(kCmdLoadRts);
    window.runCommand(kCmdSaveRts);
    EXPECT_EQ(platform_.messages.size(), 1u);
    EXPECT_EQ(nodeNames(), saved);
    EXPECT_EQ(state().camera->getDerivedPosition(), Ogre::Vector3(0, 1, 4));
    EXPECT_LT(distance(pixelAt(middleOf("TestMesh")), shown), 0.05f);
    test::expectSameRtsLines(test::rtsLines(test::readFile(dir_ / "scenes" / "again.rts")),
                             test::rtsLines(viewer));

    // `verada render` of the saved scene, in a picture of the view's size so that points
    // project alike, shows the model where the empty scene shows none.
    const std::string render = "'" + test::veradaBinary().string() + "' render --size " +
                               std::to_string(state().clientRect.right) + "x" +
                               std::to_string(state().clientRect.bottom);
    ASSERT_EQ(std::system((render + " -o empty.png").c_str()), 0);
    ASSERT_EQ(std::system((render + " -o saved.png '" + file.string() + "'").c_str()), 0);
    auto [x, y] = middleOf("TestMesh");
    QRgb empty = QImage(QString::fromStdString((dir_ / "empty.png").string())).pixel(x, y);
    QRgb model = QImage(QString::fromStdString((dir_ / "saved.png").string())).pixel(x, y);
    EXPECT_GT(std::abs(qRed(empty) - qRed(model)) + std::abs(qGreen(empty) - qGreen(model)) +
                  std::abs(qBlue(empty) - qBlue(model)),
              30);
}

}  // namespace
}  // namespace verada
