#include "cli/subcommands.h"

#include <CLI/CLI.hpp>

namespace verada::cli {

void addSubcommands(CLI::App& app, int& exitCode) {
#ifdef VERADA_RENDER_COMMAND
    addRenderCommand(app, exitCode);
#else
    (void)app;
    (void)exitCode;
#endif
}

}  // namespace verada::cli
