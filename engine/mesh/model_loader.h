#pragma once

#include <optional>
#include <string>
#include <vector>

#include "formats/model/imported_model.h"
#include "formats/model/model_format.h"
#include "engine/app_state.h"

namespace verada {

// Asks for a file of the format, reads it and builds its mesh; the mesh's name goes to
// meshNameOut. 1 when a mesh was built, 0 when the dialog was cancelled or the read failed
// (the reader's message is shown in a warning box with no owner).
int loadModelForFormat(AppState& state, ModelFormat format, ImportedModel& model,
                       std::string& meshNameOut);

// "Add New Node (...)": the model on a new child of the root node named after the file.
int addModelAsNewNode(AppState& state, ModelFormat format);

// "Add To Existing Node": the model's entity attached to root child nodeName. With an empty
// nodeName the mesh is built but shown nowhere; a name of no root child is reported.
int addModelToExistingNode(AppState& state, ModelFormat format, const std::string& nodeName);

// The model file at path on a new node, without a dialog (command line and batch rendering).
// Nothing on success, else the message text.
std::optional<std::string> addModelFileAsNewNode(AppState& state, const std::string& path);

// `verada FILE...`: each file on a new node, as its menu command would do it; a file that
// cannot be loaded shows its message the way the menu command does, and the rest still load.
// Returns how many were added.
int addModelFilesAsNewNodes(AppState& state, const std::vector<std::string>& paths);

}  // namespace verada
