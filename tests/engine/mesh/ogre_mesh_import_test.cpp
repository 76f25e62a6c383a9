#include "engine/mesh/ogre_mesh_import.h"

#include <OgreMeshManager.h>
#include <gtest/gtest.h>

#include "tests/support/headless_ogre.h"
#include "tests/support/test_paths.h"
#include "tests/support/truncation.h"

namespace verada {
namespace {

// A submesh as one line: label, material, vertices, faces, "shared" when it draws from the
// mesh's shared vertices.
std::string line(const SubmeshSummary& s) {
    return s.label + " \"" + s.material + "\" " + std::to_string(s.vertexCount) + " " +
           std::to_string(s.faceCount) + (s.sharedVertices ? " shared" : "");
}

const std::vector<std::string> kOgreHead = {
    "GroupIndex00 \"Ogre/Eyes\" 58 82", "GroupIndex01 \"Ogre/Skin\" 1642 3178",
    "GroupIndex02 \"Ogre/Earring\" 200 400", "GroupIndex03 \"Ogre/Tusks\" 342 676"};
const std::vector<std::string> kRobot = {"GroupIndex00 \"Examples/Robot\" 295 308"};

const std::pair<const char*, std::vector<std::string>> kSamples[] = {
    {"v1.100/Barrel.mesh", {"submesh0 \"RustyBarrel\" 132 128"}},
    {"v1.100/athene.mesh", {"GroupIndex00 \"1 - Default\" 5338 6000"}},
    {"v1.100/column.mesh", {"GroupIndex00 \"BaseWhite\" 51 48"}},
    {"v1.100/cube.mesh", {"submesh0 \"BaseWhite\" 24 12"}},
    {"v1.100/knot.mesh", {"GroupIndex00 \"2 - Default\" 1834 2880 shared"}},
    {"v1.100/ogrehead.mesh", kOgreHead},
    {"v1.100/razor.mesh", {"GroupIndex00 \"Material__25\" 588 468 shared"}},
    {"v1.100/robot.mesh", kRobot},
    {"v1.41/ogrehead.mesh", kOgreHead},
    {"v1.41/robot.mesh", kRobot},
    {"v1.40/ogrehead.mesh", kOgreHead},
    {"v1.40/robot.mesh", kRobot},
};

std::string samplePath(const std::string& name) {
    return test::samplePath("ogre-mesh/" + name).string();
}

class OgreMeshImportTest : public ::testing::Test {
  protected:
    test::HeadlessOgre ogre;
};

TEST_F(OgreMeshImportTest, EverySampleListsItsSubmeshes) {
    for (const auto& [path, expected] : kSamples) {
        Result<std::vector<SubmeshSummary>> read = describeOgreMeshFile(samplePath(path));
        ASSERT_TRUE(read) << path << ": " << read.error();
        std::vector<std::string> lines;
        for (const SubmeshSummary& submesh : read.value()) {
            lines.push_back(line(submesh));
        }
        EXPECT_EQ(lines, expected) << path;
        EXPECT_FALSE(Ogre::MeshManager::getSingleton().resourceExists(samplePath(path), "MSH"));
    }
}

TEST_F(OgreMeshImportTest, MissingForeignAndDamagedFilesFail) {
    test::TempDir dir;
    test::writeFile(dir / "text.mesh", "[MeshSerializer_v1.100]\n");
    test::writeFile(dir / "model.mesh", test::readFile(test::samplePath("gmdl/Megamouth.gmdl")));
    // cube.mesh's submesh: its material name, a flag, 36 indices as a 32-bit count, a flag, then
    // the 16-bit indices; the second one now points far past the 24 vertices (where the edge
    // list Ogre would rebuild while the mesh is dropped would read).
    std::string cube = test::readFile(samplePath("v1.100/cube.mesh"));
    std::size_t indices = cube.find("BaseWhite\n") + 10 + 1 + 4 + 1;
    ASSERT_EQ(cube.substr(indices - 5, 4), std::string("\x24\0\0\0", 4));
    cube.replace(indices + 2, 2, "\xF0\xFF");
    test::writeFile(dir / "damaged.mesh", cube);
    const std::pair<std::string, std::string> cases[] = {
        {(dir / "damaged.mesh").string(), "ERR: Submesh 0 points past its 24 vertices."},
        {(dir / "missing.mesh").string(), "ERR: File missing or damaged."},
        {(dir / "text.mesh").string(),
         "ERR: Header chunk didn't match either endian: Corrupted stream?"},
        {(dir / "model.mesh").string(),
         "ERR: Header chunk didn't match either endian: Corrupted stream?"},
    };
    for (const auto& [path, error] : cases) {
        EXPECT_EQ(describeOgreMeshFile(path).error(), error) << path;
    }
}

// What Ogre would allocate by before reading, or assert on (ending the process), is refused:
// a count the bytes after it cannot hold, a bounding box whose minimum exceeds its maximum.
TEST_F(OgreMeshImportTest, HostileCountsAndBoundsAreRefusedBeforeOgreUsesThem) {
    const std::string cube = test::readFile(samplePath("v1.100/cube.mesh"));
    const std::size_t indices = cube.find("BaseWhite\n") + 10 + 1 + 4 + 1;
    // After the 36 indices, the submesh's geometry chunk: its id, length, then vertex count.
    const std::size_t vertexCount = indices + 72 + 6;
    ASSERT_EQ(cube.substr(vertexCount - 6, 2), std::string("\x00\x50", 2));
    ASSERT_EQ(cube.substr(vertexCount, 4), std::string("\x18\0\0\0", 4));
    // The bounds chunk: id 0x9000, length 6 + 7 floats, minimum x first.
    const std::size_t minimumX = cube.find(std::string("\x00\x90\x22\0\0\0", 6)) + 6;
    ASSERT_NE(minimumX, std::string::npos + 6);
    const std::string huge("\0\0\0\xF0", 4);
    const std::string nan("\0\0\xC0\x7F", 4);
    const std::string far("\0\0\x80\x7F", 4);  // +infinity, above any maximum
    struct Case {
        std::size_t at;
        std::string bytes;
        std::string error;
    };
    const Case cases[] = {
        {indices - 5, huge,
         "ERR: Mesh data declares 4026531840 indices of 2 bytes, more than its 2112 bytes."},
        {vertexCount, huge,
         "ERR: Mesh data declares 4026531840 vertices of 32 bytes, more than its 2112 bytes."},
        {minimumX, far,
         "ERR: Mesh data gives a bounding box whose minimum is not below its maximum."},
        {minimumX + 20, nan,
         "ERR: Mesh data gives a bounding box whose minimum is not below its maximum."},
    };
    for (const Case& c : cases) {
        std::string hostile = cube;
        hostile.replace(c.at, c.bytes.size(), c.bytes);
        Result<ImportedOgreMesh> imported =
            importOgreMesh("hostile", std::vector<std::uint8_t>(hostile.begin(), hostile.end()));
        EXPECT_EQ(imported.error(), c.error);
        EXPECT_FALSE(Ogre::MeshManager::getSingleton().resourceExists("hostile", "MSH"));
    }
    // An empty LOD strategy name and a level count of 0: Ogre would assert on the next level.
    const std::string noLevels(
        "\x00\x10[MeshSerializer_v1.100]\n\x00\x30\x6d\xeb\x04\x00\x00"
        "\x00\x80\x00\x41\x01\x00\n\x00\x00",
        42);
    EXPECT_EQ(importOgreMesh("hostile", std::vector<std::uint8_t>(noLevels.begin(), noLevels.end()))
                  .error(),
              "ERR: Mesh data declares 0 LOD levels, where a mesh has at least its own.");
    // A bool's byte above 1 reads as 1, never as a bool Ogre's code could not test.
    const std::size_t sharedVertices = cube.find("BaseWhite\n") + 10;
    std::string outcomes[2];
    for (int i = 0; i < 2; ++i) {
        std::string flagged = cube;
        flagged[sharedVertices] = i == 0 ? '\x01' : '\xC5';
        Result<ImportedOgreMesh> imported =
            importOgreMesh("flagged" + std::to_string(i),
                           std::vector<std::uint8_t>(flagged.begin(), flagged.end()));
        outcomes[i] = imported ? "loaded" : imported.error();
    }
    EXPECT_EQ(outcomes[1], outcomes[0]);
}

// Ogre's serializer does not look at what its reads return: imported from a plain memory
// stream, most prefixes of cube.mesh load as meshes and some crash.
TEST_F(OgreMeshImportTest, CutMeshesFailOrLoadButNeverReadPastTheirEnd) {
    struct Sweep {
        const char* path;
        std::size_t stride;
    };
    for (const Sweep& sweep : {Sweep{"v1.100/cube.mesh", 1}, Sweep{"v1.100/robot.mesh", 7},
                               Sweep{"v1.40/robot.mesh", 13}, Sweep{"v1.100/knot.mesh", 997},
                               Sweep{"v1.41/ogrehead.mesh", 4099}}) {
        std::vector<std::uint8_t> bytes = test::fileBytes(samplePath(sweep.path));
        int loaded = 0;
        std::vector<std::size_t> lengths = test::sweepLengths(bytes.size(), 64, sweep.stride, 64);
        for (std::size_t length : lengths) {
            Result<ImportedOgreMesh> imported = importOgreMesh("cut", test::prefix(bytes, length));
            if (imported) {
                ++loaded;

                Ogre::MeshManager::getSingleton().remove(imported->mesh);
            } else {
                ASSERT_EQ(imported.error().rfind("ERR: ", 0), 0u) << length;
            }
            ASSERT_FALSE(Ogre::MeshManager::getSingleton().resourceExists("cut", "MSH"))
                << sweep.path << " " << length;
        }
        // Only a cut between two chunks, after complete geometry, passes for a shorter mesh.
        EXPECT_LT(loaded * 20, static_cast<int>(lengths.size())) << sweep.path;
        ASSERT_TRUE(importOgreMesh("whole", bytes)) << sweep.path;
        Ogre::MeshManager::getSingleton().remove("whole", "MSH");
    }
    std::vector<std::uint8_t> cube = test::fileBytes(samplePath("v1.100/cube.mesh"));
    EXPECT_EQ(importOgreMesh("cut", test::prefix(cube, 1)).error(),
              "ERR: Mesh data ends early: a read of 2 bytes at byte 0 of 1.");
    EXPECT_EQ(importOgreMesh("cut", test::prefix(cube, 10)).error(),
              "ERR: Mesh data ends early: a line without its end at byte 2 of 10.");
    EXPECT_EQ(importOgreMesh("cut", test::prefix(cube, 2000))
                  .error()
                  .rfind("ERR: Mesh data ends early: a read of ", 0),
              0u);
}

}  // namespace
}  // namespace verada
