#include "ui/status_text.h"

namespace verada {
namespace {

std::string counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string geometry(std::size_t vertices, std::size_t faces) {
    return counted(vertices, "vertex", "vertices") + ", " + counted(faces, "face", "faces");
}

}  // namespace

std::string statusText(const SceneSummary& summary) {
    if (summary.selected) {
        const NodeSummary& node = *summary.selected;
        std::string text = node.name + ": " + geometry(node.vertices, node.faces);
        return node.file.empty() ? text : text + ", from " + node.file;
    }
    if (summary.modelNodes == 0) {
        return "No models";
    }
    return counted(summary.modelNodes, "model", "models") + ": " +
           geometry(summary.vertices, summary.faces);
}

}  // namespace verada
