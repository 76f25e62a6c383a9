#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/subcommands.h"
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
    app.add_option("files", files,
                   "Model files (.gmdl, .gmsh, .5gd, .simpe) and packages (.package) to open");
    app.require_subcommand(0, 1);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and version end with 0; every usage error with 2.
        return app.exit(error) == 0 ? 0 : 2;
    }
    if (app.get_subcommands().empty()) {
        return verada::runViewer(argc, argv, files);
    }
    return exitCode;
}
