#include "formats/export/gltf_materials.h"

#include <algorithm>

#include "formats/export/export_messages.h"
#include "formats/io/printf_text.h"
#include "formats/io/utf8_text.h"

namespace verada {
namespace {

double unitClamped(float value) {
    return std::clamp(static_cast<double>(value), 0.0, 1.0);
}

// Layer 0's diffuse colour (r, g, b, a). A colour the layer does not set is black, and its
// alpha unknown: opaque then.
std::vector<double> baseColor(const MaterialLayerSettings& layer) {
    if (!layer.hasDiffuse) {
        return {0, 0, 0, 1};
    }
    const auto& [a, r, g, b] = layer.diffuse;
    return {unitClamped(r), unitClamped(g), unitClamped(b), unitClamped(a)};
}

bool isEmbeddable(const EmbeddedImage& image) {
    return !image.bytes.empty() &&
           (image.mimeType == "image/png" || image.mimeType == "image/jpeg");
}

}  // namespace

GltfMaterials::GltfMaterials(tinygltf::Model& model, GltfBuffer& buffer, const SceneSnapshot& scene,
                             const TextureProvider& textures, std::vector<std::string>& warnings)
    : model_(model), buffer_(buffer), textures_(textures), warnings_(warnings) {
    for (const MaterialSnapshot& material : scene.materials) {
        byName_.emplace(material.name, &material);
    }
}

int GltfMaterials::materialFor(const std::string& name, bool withUvs) {
    if (name.empty()) {
        return -1;
    }
    const auto known = byName_.find(name);
    const MaterialLayerSettings layer = known == byName_.end() || known->second->layers.empty()
                                            ? MaterialLayerSettings{}
                                            : known->second->layers[0];
    const bool textured = layer.hasTexture && withUvs;
    const auto made = materials_.find({name, textured});
    if (made != materials_.end()) {
        return made->second;
    }

    tinygltf::Material material;
    material.name = asUtf8(name);
    tinygltf::PbrMetallicRoughness& pbr = material.pbrMetallicRoughness;
    // A material the scene does not hold shows as the engine's default, white.
    pbr.baseColorFactor =
        known == byName_.end() ? std::vector<double>{1, 1, 1, 1} : baseColor(layer);
    // glTF's default metallic factor of 1 would make every model metal.
    pbr.metallicFactor = 0;
    pbr.roughnessFactor = 1;
    if (layer.alphaLayer) {
        material.alphaMode = "BLEND";
    }
    if (textured) {
        pbr.baseColorTexture.index = textureFor(layer.textureName, name);
    }
    model_.materials.push_back(material);
    const int index = static_cast<int>(model_.materials.size() - 1);
    materials_.emplace(std::make_pair(name, textured), index);
    return index;
}

int GltfMaterials::textureFor(const std::string& textureName, const std::string& materialName) {
    const auto known = texturesByName_.find(textureName);
    if (known != texturesByName_.end()) {
        return known->second;
    }
    int index = -1;
    const std::optional<EmbeddedImage> image =
        textures_ ? textures_(textureName) : std::optional<EmbeddedImage>{};
    if (image && isEmbeddable(*image)) {
        tinygltf::Image gltfImage;
        gltfImage.name = asUtf8(textureName);
        gltfImage.mimeType = image->mimeType;
        gltfImage.bufferView = buffer_.addView(image->bytes.data(), image->bytes.size(), 0);
        model_.images.push_back(gltfImage);
        tinygltf::Texture texture;
        texture.source = static_cast<int>(model_.images.size() - 1);
        model_.textures.push_back(texture);
        index = static_cast<int>(model_.textures.size() - 1);
    } else {
        warnings_.push_back(printfText(kTextureLeftOut, textureName.c_str(), materialName.c_str()));
    }
    texturesByName_.emplace(textureName, index);
    return index;
}

}  // namespace verada
