#include "engine/export/ogre_mesh_export.h"

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <OgreEntity.h>
#include <OgreMesh.h>
#include <OgreSceneManager.h>
#include <OgreSubMesh.h>
#include <gtest/gtest.h>

#include "engine/mesh/ogre_mesh_import.h"
#include "engine/scene/scene_capture.h"
#include "engine/scene_files.h"
#include "tests/formats/export/export_peers.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/mesh_lines.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

// Game models (own vertices per group, registered group names, no material names) and Ogre
// meshes (shared vertices; a material name per submesh; a skeleton link) in both formats: the
// Ogre tools and Assimp read them with every name and count, and they load back as they were.
TEST(OgreMeshExport, SampleMeshesReadBackByOgreToolsAndAssimp) {
    test::HeadlessOgre ogre;
    test::TempDir dir;
    AppState state;
    state.sceneManager = ogre.freshSceneManager();
    const std::vector<std::string> entities = {"Megamouth", "TestMesh", "teapot_model.extracted",
                                               "knot", "robot"};
    std::vector<std::string> files;
    for (const char* sample :
         {"gmdl/Megamouth.gmdl", "gmdc/TestMesh.5gd", "gmdc/teapot_model.extracted.5gd",
          "ogre-mesh/v1.100/knot.mesh", "ogre-mesh/v1.100/robot.mesh",
          "ogre-mesh/materials/Examples.material"}) {
        files.push_back(test::samplePath(sample).string());
    }
    for (const FileOutcome& outcome : loadSceneFiles(state, files)) {
        ASSERT_TRUE(outcome.status) << outcome.path << ": " << outcome.status.error();
    }
    const std::string xml = (dir / "mesh.xml").string();
    for (const std::string& entity : entities) {
        SCOPED_TRACE(entity);
        const Ogre::MeshPtr& mesh = state.sceneManager->getEntity(entity)->getMesh();
        const std::vector<std::string> lines = test::meshLines(captureMesh(*mesh));
        std::string materials;
        for (const Ogre::SubMesh* submesh : mesh->getSubMeshes()) {
            materials += "<submesh material=\"" + submesh->getMaterialName() + "\" ";
        }

        const std::string file = (dir / (entity + ".mesh")).string();
        Status saved = saveEntityMesh(state, entity, file, MeshFileVersion::Current);
        ASSERT_TRUE(saved) << saved.error();
        EXPECT_EQ(test::readFile(file).substr(2, 23), "[MeshSerializer_v1.100]");
        test::CommandOutput converted =
            test::runCommand("OgreXMLConverter -q '" + file + "' '" + xml + "'");
        ASSERT_EQ(converted.status, 0) << converted.output;
        EXPECT_TRUE(test::converterLines(xml) == lines);
        // Groups without a material are written as "BaseWhite"; the mesh itself keeps none.
        const std::string text = test::readFile(xml);
        static const std::regex submesh("<submesh material=\"[^\"]*\" ");
        std::string written;
        for (std::sregex_iterator m(text.begin(), text.end(), submesh), end; m != end; ++m) {
            written += m->str();
        }
        EXPECT_EQ(written, std::regex_replace(materials, std::regex("material=\"\""),
                                              "material=\"BaseWhite\""));
        EXPECT_TRUE(entity != "robot" || materials.find("Examples/Robot") != std::string::npos);

        Result<ImportedOgreMesh> back = importOgreMeshFile(file, "back " + entity);
        ASSERT_TRUE(back) << back.error();
        EXPECT_TRUE(test::meshLines(captureMesh(*back->mesh)) == lines);
        converted = test::runCommand("OgreMeshUpgrader '" + file + "'");
        EXPECT_EQ(converted.status, 0) << converted.output;

        ASSERT_TRUE(saveEntityMesh(state, entity, file, MeshFileVersion::V1_8));
        EXPECT_EQ(test::readFile(file).substr(2, 21), "[MeshSerializer_v1.8]");
        std::vector<test::AssimpMesh> read = test::assimpMeshes(file);
        ASSERT_EQ(read.size(), mesh->getNumSubMeshes());
        for (std::size_t s = 0; s < read.size(); ++s) {
            EXPECT_EQ(read[s].faces,
                      static_cast<int>(mesh->getSubMesh(s)->indexData->indexCount / 3));
        }
    }
}

}  // namespace
}  // namespace verada
