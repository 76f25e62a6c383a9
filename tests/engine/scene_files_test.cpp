#include "engine/scene_files.h"

#include <OgreEntity.h>
#include <OgreSceneManager.h>
#include <OgreSubEntity.h>
#include <gtest/gtest.h>

#include "engine/scene/scene_nodes.h"
#include "tests/support/headless_ogre.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

std::string ogreSample(const std::string& name) {
    return test::samplePath("ogre-mesh/" + name).string();
}

TEST(SceneFiles, ScriptsComeFirstAndEveryFileHasItsOutcome) {
    test::HeadlessOgre ogre;
    test::TempDir dir;
    AppState state;
    state.sceneManager = ogre.freshSceneManager();
    test::writeFile(dir / "empty.material", "");
    test::writeFile(dir / "cut.mesh",
                    test::readFile(ogreSample("v1.100/Barrel.mesh")).substr(0, 99));
    const std::string barrel = ogreSample("v1.100/Barrel.mesh");
    const std::string examples = ogreSample("materials/Examples.material");
    const std::string empty = (dir / "empty.material").string();
    const std::string cut = (dir / "cut.mesh").string();
    const std::string gmdl = test::samplePath("gmdl/Megamouth.gmdl").string();

    std::vector<FileOutcome> outcomes =
        loadSceneFiles(state, {barrel, cut, empty, "notes.TXT", gmdl, examples, "b.MATERIAL"});
    struct Expected {
        std::string path;
        std::string error;
        std::size_t warnings;
    };
    const std::vector<Expected> expected = {
        {empty, "ERR: empty.material defines no material.", 0},
        {examples, "", 10},
        {"b.MATERIAL",
         "ERR: Cannot open file: " + (std::filesystem::current_path() / "b.MATERIAL").string(), 0},
        {barrel, "", 0},
        {cut, "ERR: Mesh data ends early: a read of 768 bytes at byte 57 of 99.", 0},
        {"notes.TXT", kUnknownSceneFile, 0},
        {gmdl, "", 0},
    };
    ASSERT_EQ(outcomes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(outcomes[i].path, expected[i].path) << i;
        EXPECT_EQ(outcomes[i].status.error(), expected[i].error) << i;
        EXPECT_EQ(outcomes[i].status.warnings().size(), expected[i].warnings) << i;
        EXPECT_TRUE(outcomes[i].notes.empty()) << i;
    }
    NameList nodes = listSceneNodes(state);
    ASSERT_EQ(nodes.size(), 2);
    EXPECT_EQ(nodes[0], "Barrel");
    EXPECT_EQ(nodes[1], "Megamouth");
    EXPECT_EQ(state.sceneManager->getEntity("Barrel")->getSubEntity(0)->getMaterialName(),
              "RustyBarrel");
    state.sceneManager->clearScene();
}

}  // namespace
}  // namespace verada
