#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "engine/app_state.h"

namespace verada {

struct NodeSummary {
    std::string name;
    std::size_t vertices = 0;
    std::size_t faces = 0;
    std::string file;  // the file its mesh came from; empty when not known
};

// What the status bar tells: the selected node, or the model nodes all together.
struct SceneSummary {
    std::optional<NodeSummary> selected;
    std::size_t modelNodes = 0;
    std::size_t vertices = 0;
    std::size_t faces = 0;
};

SceneSummary summarizeScene(const AppState& state);

}  // namespace verada
