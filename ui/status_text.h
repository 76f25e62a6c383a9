#pragma once

#include <string>

#include "engine/scene/scene_summary.h"

namespace verada {

// The status bar's line: "NAME: V vertices, F faces, from FILE" for the selected node, else
// "N models: V vertices, F faces", or "No models".
std::string statusText(const SceneSummary& summary);

}  // namespace verada
