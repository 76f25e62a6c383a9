#include "cli/subcommands.h"

#include <CLI/CLI.hpp>

namespace verada::cli {

void addSubcommands(CLI::App& app, int& exitCode) {
<<<<<<< HEAD
#ifdef VERADA_RENDER_COMMAND
    addRenderCommand(app, exitCode);
#else
    (void)app;
    (void)exitCode;
#endif
=======
    addHashCommand(app, exitCode);
    addPmetCommand(app, exitCode);
    addRast2ddsCommand(app, exitCode);
>>>>>>> main
}

}  // namespace verada::cli
