#pragma once

#include "formats/scene/material_layer_settings.h"

namespace verada {

// A material is edited as a stack of layers: layer n is pass n of its technique 0, the layer's
// texture that pass's texture unit 0. Each operation names the material by
// settings.materialName and does nothing, returning false, when no such material is loaded or
// it has no technique (read and apply: or technique 0 has no pass).

// Copies layer `layer` (kept within the passes there are) into the record: layerCount and
// currentLayer, shininess and the colours that are set (any of red, green, blue not 0) with
// their flags, and, when the pass has a texture unit, its texture name and whether it blends by
// its alpha. Values of what is not set stay as they were.
bool readMaterialLayer(MaterialLayerSettings& settings, int layer);

// Writes the record into pass `layer` (kept within the record's layerCount and the material's
// own passes): what is not set becomes black, alpha 1 for ambient, 0 for the others. With a
// texture, unit 0 shows it (made when missing) and the pass blends by alpha or replaces.
bool applyMaterialLayer(MaterialLayerSettings& settings, int layer);

// A new last pass with Ogre's defaults; layerCount follows.
bool addMaterialLayer(MaterialLayerSettings& settings);

// Drops the last pass, whichever is being edited, unless it is the only one; layerCount and
// currentLayer follow.
bool removeLastMaterialLayer(MaterialLayerSettings& settings);

}  // namespace verada
