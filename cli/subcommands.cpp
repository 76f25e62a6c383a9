#include "cli/subcommands.h"

#include <CLI/CLI.hpp>

namespace verada::cli {

void addSubcommands(CLI::App& app, int& exitCode) {
    addRenderCommand(app, exitCode);
}

}  // namespace verada::cli
