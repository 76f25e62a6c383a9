#include "cli/viewer_arguments.h"

#include <CLI/CLI.hpp>

#include "formats/scene/viewer_files.h"

namespace verada::cli {

std::optional<std::string> viewerArgumentError(const CLI::App& app,
                                               const std::vector<std::string>& files) {
    if (files.empty() || viewerFileType(files.front()) != nullptr) {
        return std::nullopt;
    }
    std::string subcommands;
    for (const CLI::App* subcommand : app.get_subcommands({})) {
        subcommands += (subcommands.empty() ? "" : ", ") + subcommand->get_name();
    }
    return "verada: \"" + files.front() + "\" is neither a subcommand (" + subcommands +
           ") nor a file the viewer opens (" + viewerFileExtensionList() + "); see verada --help";
}

}  // namespace verada::cli
