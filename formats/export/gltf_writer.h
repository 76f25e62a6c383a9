#pragma once

#include <string>

#include "formats/export/texture_provider.h"
#include "formats/io/result.h"
#include "formats/scene/scene_snapshot.h"

namespace verada {

enum class GltfContainer {
    Binary,  // .glb: one binary file
    Json,    // .gltf: one JSON file, buffer and images embedded as base64
};

// The models of the scene as glTF 2.0, in the bytes of one file. Each visible root child but
// the viewer's floor and backdrop becomes a node with its translation, rotation and scale, and
// each of its visible entities a child node holding the entity's mesh: one triangle primitive
// per submesh, positions, unit normals and texture coordinates unchanged, indices as stored.
// Materials take layer 0's diffuse colour, no metal, full roughness, blending when the layer
// blends by alpha, and its texture from `textures` (left out with a warning when it gives
// nothing). Fails with "ERR: The scene holds no model to export." when there is no model.
Result<std::string> writeGltfScene(const SceneSnapshot& scene, GltfContainer container,
                                   const std::string& generator, const TextureProvider& textures);

}  // namespace verada
