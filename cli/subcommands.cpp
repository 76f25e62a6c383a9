#include "cli/subcommands.h"

#include <CLI/CLI.hpp>

namespace verada::cli {

void addSubcommands(CLI::App& app, int& exitCode) {
    addUnpackCommand(app, exitCode);
    addPackCommand(app, exitCode);
    addHashCommand(app, exitCode);
    addPmetCommand(app, exitCode);
    addRast2ddsCommand(app, exitCode);
    addInfoCommand(app, exitCode);
    addRenderCommand(app, exitCode);
    addListCommand(app, exitCode);
    addExportCommand(app, exitCode);
}

}  // namespace verada::cli
