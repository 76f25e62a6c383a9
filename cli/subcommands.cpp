#include "cli/subcommands.h"

#include <CLI/CLI.hpp>

namespace verada::cli {

void addSubcommands(CLI::App& app, int& exitCode) {
    addHashCommand(app, exitCode);
    addPmetCommand(app, exitCode);
    addRast2ddsCommand(app, exitCode);
#ifdef VERADA_RENDER_COMMAND
    addRenderCommand(app, exitCode);
#endif
}

}  // namespace verada::cli
