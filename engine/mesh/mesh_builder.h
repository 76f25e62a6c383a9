#pragma once

#include <string>

#include "formats/model/imported_model.h"
#include "engine/app_state.h"

namespace verada {

// Builds a manual mesh in the group "MSH" with one submesh per group (32-byte interleaved
// position, normal, texture coordinate; 16-bit indices) and returns its name: the file's base
// name, made unique with "%s%d". A group that lacks an array, or whose faces point past its
// vertices, is reported in a message box owned by the main window and left out. The model is
// neither changed nor freed.
std::string buildMeshFromModel(AppState& state, const ImportedModel& model,
                               const std::string& fileName);

// The file name without folder and extension.
std::string baseNameOf(const std::string& fileName);

}  // namespace verada
