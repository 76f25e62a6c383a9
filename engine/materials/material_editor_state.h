#pragma once

#include <string>

#include "formats/scene/material_layer_settings.h"

namespace verada {

// What the material editor keeps from one opening to the next, for the whole run.
struct MaterialEditorState {
    MaterialLayerSettings settings;     // the layer being shown
    int editorMaterialIndex = 0;        // list index of the material last selected
    std::string lastAddedMaterialName;  // the Add Material name at its last OK, cloned or not
    std::string lastLoadedTextureName;  // the file name last chosen with Load New
};

}  // namespace verada
