// The export commands in the real viewer, whose geometry lives in the render system's buffers,
// write what `verada export` writes for the same files on the headless engine.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/dialog_driver.h"
#include "tests/support/viewer_fixture.h"
#include "ui/main_window.h"
#include "ui/menu_table.h"

namespace verada {
namespace {

namespace fs = std::filesystem;

class ExportCommandsInTheViewer : public test::ViewerFixture {
  protected:
    // `verada export` of the models in the test's folder.
    void exportFromCommandLine(const std::string& arguments) {
        std::string command = "'" + test::veradaBinary().string() + "' export " + arguments;
        for (const std::string& model : models_) {
            command += " '" + model + "'";
        }
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    // From the first mesh declaration to the object statements.
    static std::string meshDeclarations(const std::string& pov) {
        const std::size_t begin = pov.find("// Mesh:");
        const std::size_t end = pov.find("// SceneNodes\r\n");
        EXPECT_NE(begin, std::string::npos);
        EXPECT_NE(end, std::string::npos);
        return pov.substr(begin, end - begin);
    }

    const std::vector<std::string> models_ = {
        test::samplePath("gmdl/Megamouth.gmdl").string(),
        test::samplePath("ogre-mesh/v1.100/knot.mesh").string()};
};

TEST_F(ExportCommandsInTheViewer, WriteWhatTheCommandLineWrites) {
    startSession();
    MainWindow& window = session_->window();
    platform_.fileAnswers.assign(models_.begin(), models_.end());
    window.runCommand(kCmdAddGmdl);
    window.runCommand(kCmdAddOgre);
    fs::create_directory(dir_ / "saved");

    for (const std::string entity : {"Megamouth", "knot"}) {
        platform_.fileAnswers.push_back((dir_ / "saved" / (entity + ".mesh")).string());
        test::onNextModal([entity](QDialog& dialog) {
            test::choose(test::list(dialog, 1050), QString::fromStdString(entity));
            test::click(dialog, 1);
        });
        window.runCommand(kCmdSaveMesh);
        exportFromCommandLine("-o " + entity + ".mesh --node " + entity);
        EXPECT_EQ(test::readFile(dir_ / "saved" / (entity + ".mesh")),
                  test::readFile(dir_ / (entity + ".mesh")))
            << entity;
    }

    window.runCommand(kCmdSpawnPovRay);
    std::vector<fs::path> spawned;
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
        if (entry.path().extension() == ".pov") {
            spawned.push_back(entry.path());
        }
    }
    ASSERT_EQ(spawned.size(), 1u);
    EXPECT_EQ(spawned[0].filename().string().rfind("Verada-", 0), 0u);
    exportFromCommandLine("-o scene.pov");
    const std::string declarations = meshDeclarations(test::readFile(spawned[0]));
    EXPECT_GT(declarations.size(), 1000000u);
    EXPECT_TRUE(declarations == meshDeclarations(test::readFile(dir_ / "scene.pov")));

    platform_.fileAnswers.push_back((dir_ / "saved" / "scene.glb").string());
    window.runCommand(kCmdSaveSceneExport);
    exportFromCommandLine("-o scene.glb");
    EXPECT_TRUE(test::readFile(dir_ / "saved" / "scene.glb") == test::readFile(dir_ / "scene.glb"));
    EXPECT_TRUE(platform_.messages.empty());
}

}  // namespace
}  // namespace verada
