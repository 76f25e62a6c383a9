#include "cli/subcommands.h"

#include <cstdio>
#include <exception>
#include <string>

#include <OgreException.h>
#include <CLI/CLI.hpp>

#include "formats/io/utf8_text.h"

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

int reportEscapedException(std::FILE* err) {
    std::string text;
    try {
        throw;
    } catch (const Ogre::Exception& error) {
        text = error.getDescription();
    } catch (const std::exception& error) {
        text = error.what();
    } catch (...) {
        text = "Unknown exception.";
    }
    std::fprintf(err, "ERR: %s\n", printableText(text).c_str());
    return 1;
}

}  // namespace verada::cli
