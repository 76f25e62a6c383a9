// Scene file benchmark on generated scenes of 10k, 100k and 1M vertices, made of 5,000-vertex
// meshes in two submeshes with about two faces a vertex: the text alone (writing a snapshot,
// reading a file) and the engine's work steps, headless (capturing the Ogre scene and writing
// it, reading a file and building the scene). Prints CPU time and file bytes per vertex, and the
// ratios against the next smaller size and of loading against saving, all measured in this run.
//   rts_bench WORK_DIR
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <OgreEntity.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

#include "bench/bench_scene.h"
#include "bench/cpu_time.h"
#include "engine/mesh/snapshot_mesh_builder.h"
#include "engine/scene/scene_nodes.h"
#include "engine/scenefile/rts_load.h"
#include "engine/scenefile/rts_save.h"
#include "formats/scenefile/rts_reader.h"
#include "formats/scenefile/rts_writer.h"

namespace {

namespace fs = std::filesystem;
using verada::SceneSnapshot;
using verada::bench::bestSeconds;

constexpr std::size_t kMeshVertices = 5000;

verada::SubmeshSnapshot makeSubmesh(std::size_t vertices, std::mt19937& random) {
    std::uniform_real_distribution<float> coordinate(-50.0f, 50.0f);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    verada::SubmeshSnapshot submesh;
    submesh.label = "GroupIndex00";
    submesh.vertices.vertexCount = vertices;
    for (std::size_t i = 0; i < vertices; ++i) {
        for (int axis = 0; axis < 3; ++axis) {
            submesh.vertices.positions.push_back(coordinate(random));
            submesh.vertices.normals.push_back(unit(random));
        }
        submesh.vertices.uvs.push_back(unit(random));
        submesh.vertices.uvs.push_back(unit(random));
    }
    for (std::size_t i = 0; i < 6 * vertices; ++i) {
        submesh.indices.push_back(static_cast<std::uint32_t>(random() % vertices));
    }
    return submesh;
}

SceneSnapshot makeScene(std::size_t vertices) {
    std::mt19937 random(7);
    SceneSnapshot scene;
    for (std::size_t m = 0; m * kMeshVertices < vertices; ++m) {
        verada::MeshSnapshot mesh;
        mesh.name = "mesh" + std::to_string(m);
        mesh.bounds = {-50, -50, -50, 50, 50, 50};
        mesh.submeshes = {makeSubmesh(kMeshVertices / 2, random),
                          makeSubmesh(kMeshVertices / 2, random)};
        scene.meshes.push_back(std::move(mesh));
        verada::NodeSnapshot node;
        node.name = "node" + std::to_string(m);
        node.objects.push_back({"mesh" + std::to_string(m), true, m, {"BaseWhite", "BaseWhite"}});
        scene.nodes.push_back(std::move(node));
    }
    return scene;
}

struct Figures {
    std::size_t vertices = 0;
    double save = 0;  // seconds, best of the runs: the text alone
    double load = 0;
    double engineSave = 0;  // capture and write
    double engineLoad = 0;  // read and build
    std::uintmax_t bytes = 0;
};

// The snapshot's meshes on root children, as a load builds them.
void buildScene(verada::AppState& state, const SceneSnapshot& scene) {
    for (const verada::NodeSnapshot& node : scene.nodes) {
        Ogre::SceneNode* created =
            state.sceneManager->getRootSceneNode()->createChildSceneNode(node.name);
        for (const verada::ObjectSnapshot& object : node.objects) {
            verada::buildMeshFromSnapshot(scene.meshes[object.mesh], object.name);
            created->attachObject(
                state.sceneManager->createEntity(object.name, object.name, verada::kMeshGroup));
        }
    }
}

Figures measure(std::size_t vertices, const fs::path& work, verada::AppState& state) {
    SceneSnapshot scene = makeScene(vertices);
    std::string path = (work / ("scene" + std::to_string(vertices) + ".rts")).string();
    int runs = vertices >= 1000000 ? 3 : vertices >= 100000 ? 5 : 20;
    bool ok = true;
    Figures figures;
    figures.vertices = vertices;
    figures.save = bestSeconds(runs, [&] {
        std::FILE* out = std::fopen(path.c_str(), "wb");
        ok = out && verada::writeRtsText(out, verada::ViewSettings{}, scene) && ok;
        ok = out && std::fclose(out) == 0 && ok;
    });
    figures.load = bestSeconds(runs, [&] {
        verada::Result<verada::RtsScene> read = verada::readRtsFile(path, verada::ViewSettings{});
        ok = read && read->error.empty() && read->scene.meshes.size() == scene.meshes.size() && ok;
    });
    verada::removeAllNodes(state);
    buildScene(state, scene);
    figures.engineSave = bestSeconds(runs, [&] { ok = verada::writeRtsFile(state, path) && ok; });
    figures.engineLoad = bestSeconds(runs, [&] {
        ok = verada::loadRtsFile(state, path) &&
             state.sceneManager->getRootSceneNode()->numChildren() == scene.nodes.size() && ok;
    });
    figures.bytes = fs::file_size(path);
    fs::remove(path);
    if (!ok) {
        std::fprintf(stderr, "rts_bench: the %zu-vertex scene did not save and load\n", vertices);
        std::exit(1);
    }
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: rts_bench WORK_DIR\n");
        return 2;
    }
    verada::bench::BenchScene scene;
    verada::AppState& state = scene.state;

    std::vector<Figures> all;
    for (std::size_t vertices : {10000u, 100000u, 1000000u}) {
        all.push_back(measure(vertices, argv[1], state));
    }
    struct Step {
        const char* name;
        double Figures::*save;
        double Figures::*load;
    };
    for (const Step& step : {Step{"text", &Figures::save, &Figures::load},
                             Step{"engine", &Figures::engineSave, &Figures::engineLoad}}) {
        std::printf("%s:\n%10s %12s %12s %12s %10s %10s %10s\n", step.name, "vertices", "save ns/v",
                    "load ns/v", "bytes/v", "save x", "load x", "load/save");
        for (std::size_t i = 0; i < all.size(); ++i) {
            const Figures& f = all[i];
            double v = static_cast<double>(f.vertices);
            std::printf("%10zu %12.0f %12.0f %12.1f", f.vertices, f.*step.save * 1e9 / v,
                        f.*step.load * 1e9 / v, static_cast<double>(f.bytes) / v);
            if (i == 0) {
                std::printf(" %10s %10s", "-", "-");
            } else {
                std::printf(" %10.2f %10.2f", f.*step.save / all[i - 1].*step.save,
                            f.*step.load / all[i - 1].*step.load);
            }
            std::printf(" %10.2f\n", f.*step.load / f.*step.save);
        }
    }
    std::printf(
        "goals: 10x the vertices at most 11x the time (save x, load x); load/save at most 2\n");
    return 0;
}
