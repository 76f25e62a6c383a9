#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <tiny_gltf.h>

#include "formats/export/gltf_buffer.h"
#include "formats/export/texture_provider.h"
#include "formats/scene/scene_snapshot.h"

namespace verada {

// The glTF materials of the scene's materials, each made when first used.
class GltfMaterials {
  public:
    GltfMaterials(tinygltf::Model& model, GltfBuffer& buffer, const SceneSnapshot& scene,
                  const TextureProvider& textures, std::vector<std::string>& warnings);

    // The material of that name for a primitive with or without texture coordinates (a
    // texture needs them); -1 for an empty name.
    int materialFor(const std::string& name, bool withUvs);

  private:
    int textureFor(const std::string& textureName, const std::string& materialName);

    tinygltf::Model& model_;
    GltfBuffer& buffer_;
    const TextureProvider& textures_;
    std::vector<std::string>& warnings_;
    std::map<std::string, const MaterialSnapshot*> byName_;
    std::map<std::pair<std::string, bool>, int> materials_;
    std::map<std::string, int> texturesByName_;  // -1: could not be embedded
};

}  // namespace verada
