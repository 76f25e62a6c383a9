#include "cli/subcommands.h"

#include <CLI/CLI.hpp>

namespace verada::cli {

void addSubcommands(CLI::App& app, int& exitCode) {
    addInfoCommand(app, exitCode);
}

}  // namespace verada::cli
