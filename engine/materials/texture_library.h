#pragma once

#include <string>

#include "formats/io/result.h"
#include "formats/scene/material_layer_settings.h"

namespace verada {

// False in the headless engine: without a render system Ogre crashes loading a texture, so
// textures are only made known there, never loaded.
bool texturesLoadable();

struct LoadedTexture {
    std::string name;     // the file name with extension, without folder
    bool loaded = false;  // false: a texture of that name was already known, nothing was read
};

// The image file at path as texture of the group "TexFiles", named by its file name. Fails with
// "ERR: " and Ogre's text when the file cannot be read or decoded, leaving no texture of that
// name behind (else the name would stay taken by a texture that never loads).
Result<LoadedTexture> loadTextureFile(const std::string& path);

// Removes texture unit 0 from every pass of every material's technique 0 that shows exactly
// this texture there; other units are not looked at.
void detachTextureFromMaterials(const std::string& textureName);

// Takes the record's texture name (leaving it empty), detaches it from the materials and
// unloads the texture. False when no such texture was loaded or the record names none.
bool deleteTexture(MaterialLayerSettings& settings);

}  // namespace verada
