// POV-Ray export benchmark on generated scenes of 1,000 and 10,000 small nodes, each showing a
// box mesh of its own (24 vertices, 12 faces) under one of eight materials, turned, scaled and
// moved: the engine's work step (capturing the Ogre scene and writing the file) on a headless
// engine. Prints CPU time and file bytes per node and the ratio between the two sizes, measured
// in this run.
//   pov_bench WORK_DIR
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <OgreEntity.h>
#include <OgreMaterialManager.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>

#include "bench/bench_scene.h"
#include "bench/cpu_time.h"
#include "engine/export/pov_export.h"
#include "engine/mesh/snapshot_mesh_builder.h"
#include "engine/scene/scene_nodes.h"

namespace {

namespace fs = std::filesystem;

// A box of 24 vertices (four a face, each with the face's normal) and 12 triangles.
verada::MeshSnapshot boxSnapshot() {
    verada::MeshSnapshot box;
    box.bounds = {-0.5f, -0.5f, -0.5f, 0.5f, 0.5f, 0.5f};
    verada::SubmeshSnapshot& faces = box.submeshes.emplace_back();
    faces.label = "GroupIndex00";
    for (int axis = 0; axis < 3; ++axis) {
        for (float side : {-0.5f, 0.5f}) {
            const std::uint32_t first = static_cast<std::uint32_t>(faces.vertices.vertexCount);
            for (int corner = 0; corner < 4; ++corner) {
                float point[3] = {0, 0, 0};
                point[axis] = side;
                point[(axis + 1) % 3] = corner & 1 ? 0.5f : -0.5f;
                point[(axis + 2) % 3] = corner & 2 ? 0.5f : -0.5f;
                float normal[3] = {0, 0, 0};
                normal[axis] = side * 2;
                faces.vertices.positions.insert(faces.vertices.positions.end(), point, point + 3);
                faces.vertices.normals.insert(faces.vertices.normals.end(), normal, normal + 3);
                faces.vertices.uvs.insert(faces.vertices.uvs.end(),
                                          {corner & 1 ? 1.0f : 0.0f, corner & 2 ? 1.0f : 0.0f});
                ++faces.vertices.vertexCount;
            }
            faces.indices.insert(faces.indices.end(),
                                 {first, first + 1, first + 2, first + 2, first + 1, first + 3});
        }
    }
    return box;
}

void buildScene(verada::AppState& state, std::size_t nodes) {
    verada::removeAllNodes(state);
    const verada::MeshSnapshot box = boxSnapshot();
    for (std::size_t n = 0; n < nodes; ++n) {
        const std::string name = "box" + std::to_string(n);
        verada::buildMeshFromSnapshot(box, name);
        Ogre::Entity* entity = state.sceneManager->createEntity(name, name, verada::kMeshGroup);
        entity->setMaterialName("Paint" + std::to_string(n % 8));
        Ogre::SceneNode* node = state.sceneManager->getRootSceneNode()->createChildSceneNode(
            name, Ogre::Vector3(static_cast<float>(n % 100), static_cast<float>(n / 100 % 100),
                                -static_cast<float>(n / 10000)));
        node->yaw(Ogre::Degree(static_cast<float>(n % 360)));
        node->setScale(1, 1 + static_cast<float>(n % 3), 1);
        node->attachObject(entity);
    }
}

struct Figures {
    std::size_t nodes = 0;
    double seconds = 0;  // best of the runs
    std::uintmax_t bytes = 0;
};

Figures measure(std::size_t nodes, const fs::path& work, verada::AppState& state) {
    buildScene(state, nodes);
    const std::string path = (work / ("scene" + std::to_string(nodes) + ".pov")).string();
    bool ok = true;
    Figures figures;
    figures.nodes = nodes;
    figures.seconds = verada::bench::bestSeconds(
        nodes >= 10000 ? 3 : 10, [&] { ok = verada::writePovFile(state, path) && ok; });
    figures.bytes = fs::file_size(path);
    fs::remove(path);
    if (!ok) {
        std::fprintf(stderr, "pov_bench: the %zu-node scene was not written\n", nodes);
        std::exit(1);
    }
    return figures;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pov_bench WORK_DIR\n");
        return 2;
    }
    verada::bench::BenchScene scene;
    verada::AppState& state = scene.state;
    for (int m = 0; m < 8; ++m) {
        Ogre::MaterialManager::getSingleton().create("Paint" + std::to_string(m),
                                                     verada::kMaterialGroup);
    }

    std::vector<Figures> all;
    for (std::size_t nodes : {1000u, 10000u}) {
        all.push_back(measure(nodes, argv[1], state));
    }
    std::printf("%10s %12s %12s %10s\n", "nodes", "us/node", "bytes/node", "time x");
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Figures& f = all[i];
        const double n = static_cast<double>(f.nodes);
        std::printf("%10zu %12.1f %12.0f", f.nodes, f.seconds * 1e6 / n,
                    static_cast<double>(f.bytes) / n);
        if (i == 0) {
            std::printf(" %10s\n", "-");
        } else {
            std::printf(" %10.2f\n", f.seconds / all[i - 1].seconds);
        }
    }
    std::printf("goal: 10x the nodes at most 12x the time (time x)\n");
    return 0;
}
