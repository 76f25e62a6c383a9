#include "engine/export/ogre_mesh_export.h"

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <OgreEntity.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSubMesh.h>
#include <gtest/gtest.h>

#include "engine/engine_setup.h"
#include "engine/mesh/ogre_mesh_import.h"
#include "engine/scene/scene_capture.h"
#include "engine/scene_files.h"
#include "tests/formats/export/export_peers.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/mesh_lines.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

namespace fs = std::filesystem;

class OgreMeshExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.sceneManager = ogre.freshSceneManager();
        createGroundPlane(*state.sceneManager);
        createBackgroundPlane(*state.sceneManager, 8);
    }

    void load(const std::vector<std::string>& relativePaths) {
        std::vector<std::string> paths;
        for (const std::string& relative : relativePaths) {
            paths.push_back(test::samplePath(relative).string());
        }
        for (const FileOutcome& outcome : loadSceneFiles(state, paths)) {
            ASSERT_TRUE(outcome.status) << outcome.path << ": " << outcome.status.error();
        }
    }

    std::string path(const std::string& name) { return (dir / name).string(); }

    test::HeadlessOgre ogre;
    AppState state;
    test::TempDir dir;
};

// The submesh materials OgreXMLConverter found, in order.
std::vector<std::string> converterMaterials(const fs::path& xml) {
    static const std::regex submesh(R"re(<submesh material="([^"]*)")re");
    const std::string text = test::readFile(xml);
    std::vector<std::string> materials;
    for (auto m = std::sregex_iterator(text.begin(), text.end(), submesh);
         m != std::sregex_iterator(); ++m) {
        materials.push_back((*m)[1]);
    }
    return materials;
}

// Game models (own vertices per group, registered group names, no material names) and Ogre
// meshes (shared vertices; a material name per submesh; a skeleton link) in both formats: the
// Ogre tools and Assimp read them with every name and count, and they load back as they were.
TEST_F(OgreMeshExportTest, SampleMeshesReadBackByOgreToolsAndAssimp) {
    load({"gmdl/Megamouth.gmdl", "gmdc/TestMesh.5gd", "gmdc/teapot_model.extracted.5gd",
          "ogre-mesh/v1.100/knot.mesh", "ogre-mesh/v1.100/robot.mesh",
          "ogre-mesh/materials/Examples.material"});
    ASSERT_EQ(state.sceneManager->getEntity("robot")->getMesh()->getSubMesh(0)->getMaterialName(),
              "Examples/Robot");
    const std::vector<std::string> entities = {"Megamouth", "TestMesh", "teapot_model.extracted",
                                               "knot", "robot"};
    for (std::size_t e = 0; e < entities.size(); ++e) {
        SCOPED_TRACE(entities[e]);
        const Ogre::MeshPtr& mesh = state.sceneManager->getEntity(entities[e])->getMesh();
        const std::vector<std::string> lines = test::meshLines(captureMesh(*mesh));
        std::vector<std::string> materials;
        for (const Ogre::SubMesh* submesh : mesh->getSubMeshes()) {
            materials.push_back(submesh->getMaterialName());
        }

        const std::string file = path("exported" + std::to_string(e) + ".mesh");
        Status saved = saveEntityMesh(state, entities[e], file, MeshFileVersion::Current);
        ASSERT_TRUE(saved) << saved.error();
        EXPECT_EQ(test::readFile(file).substr(2, 23), "[MeshSerializer_v1.100]");
        const test::CommandOutput xml =
            test::runCommand("OgreXMLConverter -q '" + file + "' '" + path("mesh.xml") + "'");
        ASSERT_EQ(xml.status, 0) << xml.output;
        EXPECT_TRUE(test::converterLines(dir / "mesh.xml") == lines);
        std::vector<std::string> written = converterMaterials(dir / "mesh.xml");
        for (std::size_t s = 0; s < materials.size(); ++s) {
            EXPECT_EQ(written.at(s), materials[s].empty() ? "BaseWhite" : materials[s]);
            // The stand-in name was the file's only: the mesh is as it was.
            EXPECT_EQ(mesh->getSubMesh(s)->getMaterialName(), materials[s]);
        }
        fs::copy_file(file, path("upgraded.mesh"), fs::copy_options::overwrite_existing);
        const test::CommandOutput upgrade =
            test::runCommand("OgreMeshUpgrader '" + path("upgraded.mesh") + "'");
        EXPECT_EQ(upgrade.status, 0) << upgrade.output;

        Result<ImportedOgreMesh> back = importOgreMeshFile(file, "back" + std::to_string(e));
        ASSERT_TRUE(back) << back.error();
        EXPECT_TRUE(test::meshLines(captureMesh(*back->mesh)) == lines);

        const std::string old = path("exported" + std::to_string(e) + ".v18.mesh");
        ASSERT_TRUE(saveEntityMesh(state, entities[e], old, MeshFileVersion::V1_8));
        EXPECT_EQ(test::readFile(old).substr(2, 21), "[MeshSerializer_v1.8]");
        std::vector<test::AssimpMesh> read = test::assimpMeshes(old);
        ASSERT_EQ(read.size(), mesh->getNumSubMeshes());
        for (std::size_t s = 0; s < read.size(); ++s) {
            EXPECT_EQ(read[s].faces,
                      static_cast<int>(mesh->getSubMesh(s)->indexData->indexCount / 3));
        }
    }
}

// The dialog's list is every object on the root children, the floor's and backdrop's too; a
// name longer than the list holds finds its entity by what the list shows.
TEST_F(OgreMeshExportTest, EntitiesListedAndFoundByTheirFirst255Characters) {
    const std::string longName(300, 'x');
    Ogre::SceneNode* node = state.sceneManager->getRootSceneNode()->createChildSceneNode("long");
    node->attachObject(state.sceneManager->createEntity(longName, Ogre::SceneManager::PT_CUBE));
    node->attachObject(state.sceneManager->createLight("lamp"));
    const NameList names = listEntityNames(state);
    ASSERT_EQ(names.size(), 4);
    EXPECT_EQ(names[0], "groundplane");
    EXPECT_EQ(names[1], "background");
    EXPECT_EQ(names[2], longName.substr(0, 255));
    EXPECT_EQ(names[3], "lamp");

    for (const std::string& name : {names[2], longName}) {
        EXPECT_TRUE(saveEntityMesh(state, name, path("cube.mesh"), MeshFileVersion::Current));
        EXPECT_EQ(test::readFile(path("cube.mesh")).substr(2, 23), "[MeshSerializer_v1.100]");
        fs::remove(path("cube.mesh"));
    }
    // The light is listed, but has no mesh to save.
    for (const std::string& name : {std::string(), std::string("lamp"), std::string("y")}) {
        Status saved = saveEntityMesh(state, name, path("none.mesh"), MeshFileVersion::Current);
        EXPECT_EQ(saved.error(), "Save Failed.\r\nError in string selection.") << name;
    }
    EXPECT_FALSE(fs::exists(path("none.mesh")));
}

// Without a node name the first model node counts, never the floor or the backdrop; a node
// without entity, an unknown node and an uncreatable file fail, writing nothing.
TEST_F(OgreMeshExportTest, NodeMeshesAndFailures) {
    const std::string saveFailed = "Save Failed.\r\nError in string selection.";
    EXPECT_EQ(saveNodeMesh(state, "", path("a.mesh"), MeshFileVersion::Current).error(),
              saveFailed);
    EXPECT_TRUE(saveNodeMesh(state, "groundplane", path("floor.mesh"), MeshFileVersion::Current));
    state.sceneManager->getRootSceneNode()->createChildSceneNode("empty");
    load({"ogre-mesh/v1.100/knot.mesh", "gmdc/TestMesh.5gd"});
    EXPECT_EQ(saveNodeMesh(state, "", path("a.mesh"), MeshFileVersion::Current).error(),
              saveFailed);
    EXPECT_EQ(saveNodeMesh(state, "nowhere", path("a.mesh"), MeshFileVersion::Current).error(),
              saveFailed);
    ASSERT_TRUE(saveNodeMesh(state, "knot", path("a.mesh"), MeshFileVersion::Current));
    ASSERT_TRUE(saveEntityMesh(state, "knot", path("knot.mesh"), MeshFileVersion::Current));
    EXPECT_EQ(test::readFile(path("a.mesh")), test::readFile(path("knot.mesh")));

    const std::string uncreatable = path("no folder/a.mesh");
    Status saved = saveNodeMesh(state, "knot", uncreatable, MeshFileVersion::Current);
    EXPECT_EQ(saved.error(), "ERR: Unable to create file\r\n\"" + uncreatable + "\".");
    EXPECT_EQ(saved.failedOutput(), uncreatable);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"a.mesh", "floor.mesh", "knot.mesh"}));
}

}  // namespace
}  // namespace verada
