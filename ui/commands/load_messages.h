#pragma once

#include <string>
#include <vector>

#include "engine/app_state.h"
#include "engine/scene_files.h"

namespace verada {

// How the loaders' messages are shown: a warning box without owner, as the model readers'
// failures always were.
void showLoadFailure(AppState& state, const std::string& text);

// A file's "WARN: " texts together in one such box; nothing when there are none.
void showLoadWarnings(AppState& state, const std::vector<std::string>& warnings);

// One opened file's messages: its warnings in one box, each group left out in a box of the main
// window, its failure as above. True when it loaded.
bool showLoadOutcome(AppState& state, const FileOutcome& outcome);

}  // namespace verada
