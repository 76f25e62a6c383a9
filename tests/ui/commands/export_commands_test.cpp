// The export commands of the menus with the fake platform: their dialogs, files and messages.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <OgreEntity.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <gtest/gtest.h>

#include "engine/engine_setup.h"
#include "platform/application_identity.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/fake_platform.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/test_paths.h"
#include "ui/commands/scene_export_command.h"
#include "ui/commands/spawn_povray_command.h"
#include "ui/dialogs/pick_mesh_dialog.h"

namespace verada {
namespace {

namespace fs = std::filesystem;

class ExportCommandsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "export_commands_test";
        static char* argv[] = {name, nullptr};
        application_ = new QApplication(argc, argv);
    }
    // Qt must be gone before the program's static objects are.
    static void TearDownTestSuite() {
        delete application_;
        application_ = nullptr;
    }

    void SetUp() override {
        state.platform = &platform;
        state.mainWindow = reinterpret_cast<WindowHandle>(0x1234);
        state.sceneManager = ogre.freshSceneManager();
        createGroundPlane(*state.sceneManager);
        createBackgroundPlane(*state.sceneManager, 8);
        fs::current_path(startup.path());
        state.directories = {startup.path().string(), "/last"};
    }

    void addBox(const std::string& name) {
        state.sceneManager->getRootSceneNode()->createChildSceneNode(name)->attachObject(
            state.sceneManager->createEntity(name, Ogre::SceneManager::PT_CUBE));
    }

    void answer(const std::string& name) {
        platform.fileAnswers.push_back((files / name).string());
    }

    // The messages shown, as "caption: text", each with the main window as owner.
    std::vector<std::string> messages() {
        std::vector<std::string> shown;
        for (const test::FakePlatform::Message& message : platform.messages) {
            EXPECT_TRUE(message.hasOwner);
            EXPECT_EQ(message.buttons, MessageButtons::Ok);
            shown.push_back(message.caption + ": " + message.text);
        }
        platform.messages.clear();
        return shown;
    }

    std::vector<std::string> entriesOf(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static inline QApplication* application_ = nullptr;
    test::TempDir startup;
    test::TempDir files;
    test::HeadlessOgre ogre;
    test::FakePlatform platform;
    AppState state;
};

const std::string kApp = kApplicationCaption;

TEST_F(ExportCommandsTest, PickMeshToSaveSavesTheChosenEntitysMesh) {
    addBox("box");
    answer("box.mesh");
    test::onNextModal([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Pick Mesh To Save");
        QComboBox& entities = test::list(dialog, 1050);
        EXPECT_EQ(test::entries(entities),
                  (std::vector<std::string>{"groundplane", "background", "box"}));
        EXPECT_EQ(entities.currentIndex(), 0);
        test::choose(entities, "box");
        test::click(dialog, 1);
    });
    EXPECT_EQ(runPickMeshDialog(nullptr, state), 1);
    ASSERT_EQ(platform.fileRequests.size(), 1u);
    const FileDialogRequest& request = platform.fileRequests[0];
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.defaultExtension, "mesh");
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].text + request.filters[0].pattern,
              "Ogre Mesh files (*.mesh)*.mesh");
    EXPECT_EQ(test::readFile(files / "box.mesh").substr(2, 23), "[MeshSerializer_v1.100]");
    EXPECT_EQ(messages(), std::vector<std::string>{});
    EXPECT_EQ(fs::current_path(), startup.path());
    EXPECT_EQ(state.directories.lastUsedDirectory, fs::canonical(files.path()).string());

    // Cancel asks for nothing; a cancelled save dialog writes and says nothing.
    test::onNextModal([](QDialog& dialog) { test::click(dialog, 2); });
    EXPECT_EQ(runPickMeshDialog(nullptr, state), 2);
    platform.fileAnswers.push_back(std::nullopt);
    test::onNextModal([](QDialog& dialog) { test::click(dialog, 1); });
    EXPECT_EQ(runPickMeshDialog(nullptr, state), 1);
    EXPECT_EQ(platform.fileRequests.size(), 2u);
    EXPECT_EQ(messages(), std::vector<std::string>{});
    EXPECT_EQ(entriesOf(files.path()), std::vector<std::string>{"box.mesh"});
}

// With nothing to choose, OK still asks for the file, then says the choice was no mesh.
TEST_F(ExportCommandsTest, PickMeshToSaveWithoutEntitiesSaysSaveFailed) {
    state.sceneManager = ogre.freshSceneManager();
    answer("none.mesh");
    test::onNextModal([](QDialog& dialog) {
        EXPECT_EQ(test::list(dialog, 1050).count(), 0);
        test::click(dialog, 1);
    });
    EXPECT_EQ(runPickMeshDialog(nullptr, state), 1);
    EXPECT_EQ(platform.fileRequests.size(), 1u);
    EXPECT_EQ(messages(),
              std::vector<std::string>{
                  "Save Mesh As .mesh Error: Save Failed.\r\nError in string selection."});
    EXPECT_EQ(entriesOf(files.path()), std::vector<std::string>{});
    EXPECT_EQ(fs::current_path(), startup.path());
}

std::chrono::system_clock::time_point utc(long long millisecondsSinceEpoch) {
    return std::chrono::system_clock::time_point(std::chrono::milliseconds(millisecondsSinceEpoch));
}

// Two exports within one millisecond, after a file of that name was already there: each waits
// for a name of its own, and the file that was there stays as it was.
TEST_F(ExportCommandsTest, SpawnPovRayNeverWritesOverAFile) {
    addBox("box");
    state.povSettings.povCommand = "povray +W320 '+L/my dir'";
    const long long leapDayEnd = 1709251199999;  // 2024-02-29 23:59:59.999 UTC
    platform.times = {utc(leapDayEnd),     utc(leapDayEnd),     utc(leapDayEnd + 1),
                      utc(leapDayEnd + 1), utc(leapDayEnd + 1), utc(leapDayEnd + 1012)};
    const std::string taken = "Verada-2024-02-29-23-59-59-999.pov";
    test::writeFile(startup / taken, "mine");
    spawnPovRay(state);
    spawnPovRay(state);
    EXPECT_EQ(messages(), std::vector<std::string>{});
    const std::vector<std::string> written = {"Verada-2024-03-01-00-00-00-000.pov",
                                              "Verada-2024-03-01-00-00-01-011.pov"};
    EXPECT_EQ(entriesOf(startup.path()), (std::vector<std::string>{taken, written[0], written[1]}));
    EXPECT_EQ(test::readFile(startup / taken), "mine");
    const std::string text = test::readFile(startup / written[0]);
    EXPECT_EQ(text.find("// POV-Ray trace file, generated with " + kApp + "\r\n"), 0u);
    EXPECT_NE(text.find("// Mesh:box\r\n#declare box_GroupIndex00 =\r\nmesh2 {"),
              std::string::npos);
    EXPECT_EQ(test::readFile(startup / written[1]), text);
    ASSERT_EQ(platform.startedPrograms.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(platform.startedPrograms[i].arguments,
                  (std::vector<std::string>{"povray", "+W320", "+L/my dir", written[i]}));
        EXPECT_FALSE(platform.startedPrograms[i].wait);
    }
}

TEST_F(ExportCommandsTest, SpawnPovRayMessages) {
    platform.times = {utc(0), utc(1), utc(2)};
    // No POVCommand: the file alone.
    spawnPovRay(state);
    EXPECT_EQ(messages(), std::vector<std::string>{});
    EXPECT_TRUE(platform.startedPrograms.empty());
    EXPECT_TRUE(fs::exists(startup / "Verada-1970-01-01-00-00-00-000.pov"));

    state.povSettings.povCommand = "pov ray";
    platform.startSucceeds = false;
    spawnPovRay(state);
    EXPECT_EQ(messages(), std::vector<std::string>{
                              kApp + ": ERR: Unable to start \"pov\": No such file or directory."});
    EXPECT_TRUE(fs::exists(startup / "Verada-1970-01-01-00-00-00-001.pov"));

    // The start-up folder gone: nothing can be created there.
    test::TempDir gone;
    fs::current_path(gone.path());
    fs::remove(gone.path());
    spawnPovRay(state);
    EXPECT_EQ(
        messages(),
        std::vector<std::string>{
            kApp + ": ERR: Unable to create file\r\n\"Verada-1970-01-01-00-00-00-002.pov\"."});
    EXPECT_EQ(platform.startedPrograms.size(), 1u);
    fs::create_directory(gone.path());
}

TEST_F(ExportCommandsTest, SaveSceneAsGltfOrObjByTheNamesExtension) {
    platform.fileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(saveSceneExport(state));
    ASSERT_EQ(platform.fileRequests.size(), 1u);
    const FileDialogRequest& request = platform.fileRequests[0];
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.defaultExtension, "glb");
    std::vector<std::string> filters;
    for (const FileFilter& filter : request.filters) {
        filters.push_back(filter.text + " " + filter.pattern);
    }
    EXPECT_EQ(filters,
              (std::vector<std::string>{"glTF Binary (*.glb) *.glb", "glTF (*.gltf) *.gltf",
                                        "Wavefront OBJ (*.obj) *.obj"}));

    // No model: nothing to write.
    answer("empty.glb");
    EXPECT_FALSE(saveSceneExport(state));
    EXPECT_EQ(messages(),
              std::vector<std::string>{kApp + ": ERR: The scene holds no model to export."});

    addBox("box");
    for (const char* name : {"a.glb", "b.gltf", "c.OBJ", "d.txt"}) {
        answer(name);
        EXPECT_EQ(saveSceneExport(state), std::string(name) != "d.txt") << name;
        EXPECT_EQ(fs::current_path(), startup.path());
    }
    EXPECT_EQ(messages(),
              std::vector<std::string>{
                  kApp + ": ERR: Unknown export file type, expected .glb, .gltf or .obj."});
    EXPECT_EQ(entriesOf(files.path()),
              (std::vector<std::string>{"a.glb", "b.gltf", "c.OBJ", "c.mtl"}));
    EXPECT_EQ(test::readFile(files / "a.glb").substr(0, 4), "glTF");
    EXPECT_EQ(test::readFile(files / "b.gltf").substr(0, 1), "{");
    EXPECT_EQ(test::readFile(files / "c.OBJ").find("mtllib c.mtl\n"), 0u);
    EXPECT_EQ(test::readFile(files / "c.mtl").find("newmtl BaseWhite\n"), 0u);
}

}  // namespace
}  // namespace verada
