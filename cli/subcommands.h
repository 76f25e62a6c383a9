#pragma once

#include <cstdio>

namespace CLI {
class App;
}

namespace verada::cli {

// Adds every subcommand; a subcommand's callback stores the process exit status in exitCode.
void addSubcommands(CLI::App& app, int& exitCode);

// Called in a catch block around the parse, where the subcommands run: whatever a subcommand
// let escape (a library's exception, memory running out) is printed as one "ERR: " line on err;
// returns the exit status 1.
int reportEscapedException(std::FILE* err = stderr);

void addUnpackCommand(CLI::App& app, int& exitCode);
void addPackCommand(CLI::App& app, int& exitCode);
void addHashCommand(CLI::App& app, int& exitCode);
void addPmetCommand(CLI::App& app, int& exitCode);
void addRast2ddsCommand(CLI::App& app, int& exitCode);
// verada info [--json] FILE...: the groups of each model file.
void addInfoCommand(CLI::App& app, int& exitCode);
// verada render -o OUT.png [--size WxH|N] [--frame] FILE...
void addRenderCommand(CLI::App& app, int& exitCode);
// verada list [--json] PACKAGE...: the index of each package.
void addListCommand(CLI::App& app, int& exitCode);
// verada export -o OUT.rts FILE...
void addExportCommand(CLI::App& app, int& exitCode);

}  // namespace verada::cli
