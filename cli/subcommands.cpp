#include "cli/subcommands.h"

#include <CLI/CLI.hpp>

namespace verada::cli {

void addSubcommands(CLI::App& app, int& exitCode) {
    addUnpackCommand(app, exitCode);
    addPackCommand(app, exitCode);
}

}  // namespace verada::cli
