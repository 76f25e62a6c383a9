// Writes the fuzz targets' small seed files, one folder per target, into the folder given
// (fuzz/seeds): files in every form each reader takes, a few hundred bytes to a few KiB each.
//     cmake --build build-sanitize --target fuzz_seed_writer
//     build-sanitize/fuzz/fuzz_seed_writer fuzz/seeds
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreMeshSerializer.h>

#include "engine/engine.h"
#include "engine/mesh/snapshot_mesh_builder.h"
#include "formats/config/profile.h"
#include "formats/package/qfs_compressor.h"
#include "formats/scenefile/rts_writer.h"
#include "tests/formats/export/export_test_scene.h"
#include "tests/formats/package/package_builder.h"
#include "tests/support/gmdc_writer.h"
#include "tests/support/gmdl_writer.h"
#include "tests/support/gmsh_writer.h"

namespace {

namespace fs = std::filesystem;
using verada::test::appendLe32;

fs::path seeds;

void write(const std::string& target, const std::string& name, const std::string& bytes) {
    fs::create_directories(seeds / target);
    std::ofstream out(seeds / target / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string text(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::string le32(std::uint32_t value) {
    std::string bytes;
    appendLe32(bytes, value);
    return bytes;
}

std::string be32(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string qfs(const std::string& data) {
    return text(
        *verada::compressQfs(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
}

void writeModels() {
    write("model_reader_fuzzer", "simple.gmdl",
          text(verada::test::simpleGmdl(4, {0, 1, 2, 2, 1, 3}).bytes()));
    write("model_reader_fuzzer", "simple.gmsh",
          text(verada::test::simpleGmsh(4, {0, 1, 2, 2, 1, 3}).bytes()));
    for (std::uint32_t version : {1, 2, 4}) {
        verada::test::GmdcFile file = verada::test::simpleGmdc(version, 4, {0, 1, 2, 2, 1, 3});
        file.longHeader = version == 4;
        write("model_reader_fuzzer", "simple-v" + std::to_string(version) + ".5gd",
              text(file.bytes()));
    }
}

void writeSceneFile() {
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    verada::writeRtsText(out, verada::ViewSettings{}, verada::test::exportTestScene());
    std::fclose(out);
    write("rts_reader_fuzzer", "scene.rts", std::string(buffer, size));
    std::free(buffer);
}

void writePackages() {
    const std::string stream = qfs("a note that repeats, a note that repeats, a note.");
    const std::uint32_t streamSize = 49;
    for (const char* magic : {"DBPF", "DBBF"}) {
        for (std::uint32_t indexType : {4, 5, 6, 7}) {
            if (std::string(magic) == "DBBF" && indexType != 4) {
                continue;
            }
            verada::test::TestPackage package;
            package.magic = magic;
            package.indexType = indexType;
            package.constant1 = 0x2B6CAB5F;
            package.constant2 = 7;
            package.items = {{0x2B6CAB5F, 7, 1, stream, streamSize, 1},
                             {0x2B6CAB5F, 7, 2, "plain item"}};
            write("package_fuzzer", std::string(magic) + "-index" + std::to_string(indexType),
                  verada::test::buildPackage(package));
        }
    }
    verada::test::Sims2Package sims2;
    sims2.items = {{0x53545223, 1, 2, 3, verada::test::sims2Compressed(stream)},
                   {0xAC4F8687, 1, 3, 0, "plain"}};
    sims2.directory = {{{0x53545223, 1, 2, 3}, streamSize}};
    write("package_fuzzer", "sims2-index7.2", verada::test::buildSims2Package(sims2));
    sims2.indexMinor = 1;
    sims2.directory = {{{0x53545223, 1, 2}, streamSize}};
    write("package_fuzzer", "sims2-index7.1", verada::test::buildSims2Package(sims2));
}

void writeQfsStreams() {
    write("qfs_fuzzer", "text.qfs", qfs("to be or not to be, that is the question: to be"));
    write("qfs_fuzzer", "zeros.qfs", qfs(std::string(3000, '\0')));
    std::string mixed;
    for (int i = 0; i < 600; ++i) {
        mixed += static_cast<char>(i * i % 251);
        mixed += "ab";
    }
    write("qfs_fuzzer", "mixed.qfs", qfs(mixed));
}

void writeRasters() {
    auto raster = [](std::uint32_t format, std::uint32_t side) {
        const std::uint32_t size = 4 * side * side;
        return le32(1) + le32(0) + le32(0) + le32(1) + le32(8) + le32(format) + le32(size) +
               std::string(size, '\x5A');
    };
    write("raster_fuzzer", "dxt5.rast", raster(0x35545844, 8));
    write("raster_fuzzer", "dxt3.rast", raster(0x33545844, 4));
    write("raster_fuzzer", "argb.rast", raster(21, 2));
}

void writePmetFiles() {
    auto field = [](const std::string& value, bool wide) {
        std::string bytes = be32(static_cast<std::uint32_t>(value.size()));
        for (char c : value) {
            bytes += c;
            if (wide) {
                bytes += '\0';
            }
        }
        return bytes;
    };
    for (std::uint32_t version : {8, 10}) {
        std::string bytes = be32(version) + "GUIDGUID";
        for (std::uint32_t id = 1; id <= (version == 10 ? 15u : 11u); ++id) {
            bytes += be32(id);
        }
        bytes += field("Bob", true) + field("Megamouth", true) + field("", true);
        bytes += be32(2) + field("spore", false) + field("fish", false);
        bytes += be32(0xA) + be32(0xB) + be32(0xC);
        write("pmet_fuzzer", "v" + std::to_string(version) + ".pmet", bytes);
    }
}

void writeProfile() {
    const fs::path path = seeds / "ini_profile_fuzzer" / "Verada.cfg";
    fs::create_directories(path.parent_path());
    fs::remove(path);
    verada::IniProfile profile = verada::IniProfile::load(path.string());
    profile.parseLine("; settings");
    profile.writeString("SceneParms", "SaveFinalView", "1");
    profile.writeString("SceneParms", "CameraXPos", "\"12.5\"");
    profile.writeString("RecentFiles", "File0", " /models/a b.5gd ");
    profile.writeString("Mesh:part[2]", "Material", "'Ogre/Skin'");
    if (!profile.save()) {
        std::exit(1);
    }
}

void writeMaterialScripts() {
    write("material_script_fuzzer", "layers.material",
          "material Seed/Layers\n{\n  technique\n  {\n    pass\n    {\n"
          "      ambient 0.5 0.5 0.5\n      diffuse 1 0.5 0.25 0.75\n"
          "      specular 1 1 1 1 12.5\n      emissive 0.1 0.1 0.1\n"
          "      scene_blend alpha_blend\n      depth_write off\n"
          "      texture_unit\n      {\n        texture stone.png\n"
          "        tex_address_mode clamp\n      }\n    }\n"
          "    pass\n    {\n      lighting off\n    }\n  }\n}\n");
    write("material_script_fuzzer", "inherit.material",
          "abstract material Seed/Base\n{\n  technique\n  {\n    pass\n    {\n"
          "      diffuse $colour\n    }\n  }\n}\n"
          "material Seed/Child : Seed/Base\n{\n  set $colour \"0 1 0\"\n}\n"
          "material Seed/Clone : Seed/Child\n{\n}\n");
}

void writeMeshes() {
    std::unique_ptr<verada::Engine> engine = verada::Engine::startHeadless("");
    const verada::SceneSnapshot scene = verada::test::exportTestScene();
    Ogre::MeshPtr mesh = verada::buildMeshFromSnapshot(scene.meshes[0], "SeedMesh");
    mesh->buildEdgeList();
    fs::create_directories(seeds / "ogre_mesh_fuzzer");
    Ogre::MeshSerializer serializer;
    for (const auto& [version, name] : {std::pair(Ogre::MESH_VERSION_LATEST, "latest.mesh"),
                                        std::pair(Ogre::MESH_VERSION_1_8, "v1.8.mesh"),
                                        std::pair(Ogre::MESH_VERSION_1_4, "v1.4.mesh")}) {
        serializer.exportMesh(mesh.get(), (seeds / "ogre_mesh_fuzzer" / name).string(), version);
    }
    Ogre::MeshManager::getSingleton().remove(mesh);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEEDS_FOLDER\n", argv[0]);
        return 2;
    }
    seeds = argv[1];
    writeModels();
    writeSceneFile();
    writePackages();
    writeQfsStreams();
    writeRasters();
    writePmetFiles();
    writeProfile();
    writeMaterialScripts();
    writeMeshes();
    return 0;
}
