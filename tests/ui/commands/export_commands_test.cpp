// The export commands of the menus with the fake platform: their dialogs, files and messages.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <OgreEntity.h>

#include "engine/engine_setup.h"
#include "platform/application_identity.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/test_paths.h"
#include "tests/ui/dialogs/node_dialog_fixture.h"
#include "ui/commands/scene_export_command.h"
#include "ui/commands/spawn_povray_command.h"
#include "ui/dialogs/pick_mesh_dialog.h"

namespace verada {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

const std::string kApp = kApplicationCaption;

class ExportCommandsTest : public test::NodeDialogTest {
  protected:
    void SetUp() override {
        NodeDialogTest::SetUp();
        state.mainWindow = &state;
        createGroundPlane(*state.sceneManager);
        createBackgroundPlane(*state.sceneManager, 8);
        fs::current_path(startup.path());
        state.directories = {startup.path().string(), "/last"};
    }

    void addBox(const std::string& name) {
        addNode(name)->attachObject(
            state.sceneManager->createEntity(name, Ogre::SceneManager::PT_CUBE));
    }

    void answer(const std::string& name) {
        platform.fileAnswers.push_back((files / name).string());
    }

    // The messages shown since the last call, as "caption: text", each with an owner.
    Texts messages() {
        Texts shown;
        for (const test::FakePlatform::Message& message : platform.messages) {
            EXPECT_TRUE(message.hasOwner && message.buttons == MessageButtons::Ok);
            shown.push_back(message.caption + ": " + message.text);
        }
        platform.messages.clear();
        return shown;
    }

    static Texts entriesOf(const test::TempDir& folder) {
        Texts names;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempDir startup;
    test::TempDir files;
};

// The list is every object on the root children, the floor's and backdrop's too; a name longer
// than the list holds finds its entity by what the list shows.
TEST_F(ExportCommandsTest, PickMeshToSave) {
    const std::string longName(300, 'x');
    addBox(longName);
    addNode("lamp")->attachObject(state.sceneManager->createLight("lamp"));
    answer("box.mesh");
    EXPECT_EQ(run(runPickMeshDialog,
                  [&](QDialog& dialog) {
                      EXPECT_EQ(dialog.windowTitle().toStdString(), "Pick Mesh To Save");
                      QComboBox& entities = test::list(dialog, 1050);
                      EXPECT_EQ(test::entries(entities), (Texts{"groundplane", "background",
                                                                longName.substr(0, 255), "lamp"}));
                      EXPECT_EQ(entities.currentIndex(), 0);
                      test::choose(entities, 2);
                      test::click(dialog, 1);
                  }),
              1);
    const FileDialogRequest& request = platform.fileRequests.at(0);
    EXPECT_TRUE(request.save && request.defaultExtension == "mesh");
    EXPECT_EQ(request.filters.at(0).text + request.filters.at(0).pattern,
              "Ogre Mesh files (*.mesh)*.mesh");
    EXPECT_EQ(test::readFile(files / "box.mesh").substr(2, 23), "[MeshSerializer_v1.100]");
    EXPECT_EQ(fs::current_path(), startup.path());

    // Cancel asks for nothing; a cancelled save dialog writes and says nothing.
    EXPECT_EQ(run(runPickMeshDialog, [](QDialog& dialog) { test::click(dialog, 2); }), 2);
    platform.fileAnswers.push_back(std::nullopt);
    EXPECT_EQ(run(runPickMeshDialog, [](QDialog& dialog) { test::click(dialog, 1); }), 1);
    EXPECT_EQ(platform.fileRequests.size(), 2u);
    EXPECT_EQ(messages(), Texts{});

    // The light shows no mesh; with nothing to choose, OK still asks for the file. Either way the
    // choice was no mesh.
    answer("lamp.mesh");
    run(runPickMeshDialog, [](QDialog& dialog) {
        test::choose(test::list(dialog, 1050), "lamp");
        test::click(dialog, 1);
    });
    state.sceneManager = ogre.freshSceneManager();
    answer("none.mesh");
    EXPECT_EQ(run(runPickMeshDialog, [](QDialog& dialog) { test::click(dialog, 1); }), 1);
    const std::string saveFailed =
        "Save Mesh As .mesh Error: Save Failed.\r\nError in string selection.";
    EXPECT_EQ(messages(), (Texts{saveFailed, saveFailed}));
    EXPECT_EQ(entriesOf(files), Texts{"box.mesh"});
}

std::chrono::system_clock::time_point utc(long long milliseconds) {
    return std::chrono::system_clock::time_point(std::chrono::milliseconds(milliseconds));
}

// Two exports within one millisecond, after a file of that name was already there: each waits
// for a name of its own, the file that was there stays, and POVCommand starts on each.
TEST_F(ExportCommandsTest, SpawnPovRayNeverWritesOverAFile) {
    addBox("box");
    state.povSettings.povCommand = "povray +W320 '+L/my dir'";
    const long long leapDayEnd = 1709251199999;  // 2024-02-29 23:59:59.999 UTC
    platform.times = {utc(leapDayEnd),     utc(leapDayEnd),     utc(leapDayEnd + 1),
                      utc(leapDayEnd + 1), utc(leapDayEnd + 1), utc(leapDayEnd + 1012)};
    const Texts names = {"Verada-2024-02-29-23-59-59-999.pov", "Verada-2024-03-01-00-00-00-000.pov",
                         "Verada-2024-03-01-00-00-01-011.pov"};
    test::writeFile(startup / names[0], "mine");
    spawnPovRay(state);
    spawnPovRay(state);
    EXPECT_EQ(messages(), Texts{});
    EXPECT_EQ(entriesOf(startup), names);
    EXPECT_EQ(test::readFile(startup / names[0]), "mine");
    EXPECT_NE(test::readFile(startup / names[1]).find("// Mesh:box\r\n"), std::string::npos);
    EXPECT_EQ(test::readFile(startup / names[2]), test::readFile(startup / names[1]));
    ASSERT_EQ(platform.startedPrograms.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(platform.startedPrograms[i].arguments,
                  (Texts{"povray", "+W320", "+L/my dir", names[i + 1]}));
        EXPECT_FALSE(platform.startedPrograms[i].wait);
    }

    // A command that does not start says so; the file stays.
    platform.startSucceeds = false;
    platform.times = {utc(0)};
    spawnPovRay(state);
    EXPECT_EQ(messages(),
              Texts{kApp + ": ERR: Unable to start \"povray\": No such file or directory."});
    EXPECT_TRUE(fs::exists(startup / "Verada-1970-01-01-00-00-00-000.pov"));
}

TEST_F(ExportCommandsTest, SaveSceneAsGltfOrObjByTheNamesExtension) {
    answer("empty.glb");
    EXPECT_FALSE(saveSceneExport(state));
    const FileDialogRequest& request = platform.fileRequests.at(0);
    EXPECT_TRUE(request.save && request.defaultExtension == "glb");
    Texts filters;
    for (const FileFilter& filter : request.filters) {
        filters.push_back(filter.text + " " + filter.pattern);
    }
    EXPECT_EQ(filters, (Texts{"glTF Binary (*.glb) *.glb", "glTF (*.gltf) *.gltf",
                              "Wavefront OBJ (*.obj) *.obj"}));
    EXPECT_EQ(messages(), Texts{kApp + ": ERR: The scene holds no model to export."});

    addBox("box");
    for (const char* name : {"a.glb", "b.gltf", "c.OBJ", "d.txt"}) {
        answer(name);
        EXPECT_EQ(saveSceneExport(state), std::string(name) != "d.txt") << name;
    }
    platform.fileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(saveSceneExport(state));
    EXPECT_EQ(messages(),
              Texts{kApp + ": ERR: Unknown export file type, expected .glb, .gltf or .obj."});
    EXPECT_EQ(entriesOf(files), (Texts{"a.glb", "b.gltf", "c.OBJ", "c.mtl"}));
    EXPECT_EQ(test::readFile(files / "a.glb").substr(0, 4), "glTF");
    EXPECT_EQ(test::readFile(files / "b.gltf").substr(0, 1), "{");
    EXPECT_EQ(test::readFile(files / "c.OBJ").find("mtllib c.mtl\n"), 0u);
    EXPECT_EQ(fs::current_path(), startup.path());
}

}  // namespace
}  // namespace verada
