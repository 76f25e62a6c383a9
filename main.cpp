#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/subcommands.h"
#include "cli/viewer_arguments.h"
#include "formats/scene/viewer_files.h"
#include "platform/application_identity.h"
#include "ui/viewer.h"

int main(int argc, char** argv) {
    CLI::App app{
        "Verada: viewer and converter for Spore and Sims 2 model files and packages.\n"
        "Without a subcommand the viewer opens, with each FILE added as a new node.",
        "verada"};
    app.set_version_flag("--version", verada::kVersionText);
    int exitCode = 0;
    verada::cli::addSubcommands(app, exitCode);
    std::vector<std::string> files;
    app.add_option("files", files, "Files to open (" + verada::viewerFileExtensionList() + ")");
    app.require_subcommand(0, 1);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and version end with 0; every usage error with 2.
        return app.exit(error) == 0 ? 0 : 2;
    } catch (...) {
        // The subcommands run inside parse().
        return verada::cli::reportEscapedException();
    }
    if (app.get_subcommands().empty()) {
        if (std::optional<std::string> error = verada::cli::viewerArgumentError(app, files)) {
            std::fprintf(stderr, "%s\n", error->c_str());
            return 2;
        }
        return verada::runViewer(argc, argv, files);
    }
    return exitCode;
}
