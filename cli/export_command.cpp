#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <OgreException.h>
#include <CLI/CLI.hpp>

#include "cli/message_printer.h"
#include "cli/subcommands.h"
#include "engine/headless_scene.h"
#include "engine/scene_files.h"
#include "engine/scenefile/rts_save.h"
#include "formats/config/config.h"
#include "platform/posix/working_directory.h"

namespace verada::cli {
namespace {

// What `verada export` was asked for. Options that only some writers take join here.
struct ExportRequest {
    std::string output;
    std::vector<std::string> files;
};

// One kind of output, picked by OUT's extension.
struct ExportWriter {
    const char* extension;             // lower case, with the dot
    std::vector<std::string> options;  // the writer-specific options it takes ("--node")
    Status (*write)(AppState& state, const ExportRequest& request);
};

Status writeRts(AppState& state, const ExportRequest& request) {
    return writeRtsFile(state, request.output);
}

const std::vector<ExportWriter>& exportWriters() {
    static const std::vector<ExportWriter> writers = {
        {".rts", {}, writeRts},
    };
    return writers;
}

// The options every writer takes; any other belongs to the writers that list it.
bool takenByEveryWriter(const CLI::Option& option) {
    return option.check_name("--output") || option.check_name("files") ||
           option.check_name("--help");
}

const ExportWriter* writerFor(const std::string& output) {
    std::string extension = std::filesystem::path(output).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const ExportWriter& writer : exportWriters()) {
        if (extension == writer.extension) {
            return &writer;
        }
    }
    return nullptr;
}

// ".rts, .mesh or .pov"
std::string extensionList() {
    std::string list;
    const std::vector<ExportWriter>& writers = exportWriters();
    for (std::size_t i = 0; i < writers.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == writers.size() ? " or " : ", ");
        list += writers[i].extension;
    }
    return list;
}

// The one line of a usage error, or empty when OUT and the options fit together.
std::string usageError(const CLI::App& command, const std::string& output,
                       const ExportWriter* writer) {
    if (writer == nullptr) {
        return "verada export: cannot tell what to write from \"" + output +
               "\": OUT must end in " + extensionList();
    }
    for (const CLI::Option* option : command.get_options()) {
        if (option->count() == 0 || takenByEveryWriter(*option)) {
            continue;
        }
        const std::vector<std::string>& taken = writer->options;
        if (std::none_of(taken.begin(), taken.end(),
                         [&](const std::string& name) { return option->check_name(name); })) {
            return "verada export: " + option->get_name() + " does not go with " +
                   writer->extension + " output";
        }
    }
    return "";
}

// The viewer's start-up scene, each file added as the viewer adds it, then the output; nothing
// is written after any error.
void exportScene(const ExportRequest& request, const ExportWriter& writer,
                 MessagePrinter& printer) {
    AppState state;
    state.directories = sessionDirectoriesHere();
    try {
        std::unique_ptr<Engine> engine =
            startHeadlessScene(state, IniProfile::load(kConfigFileName));
        for (const FileOutcome& outcome : loadSceneFiles(state, request.files)) {
            printer.printMessages(outcome.path, outcome.status);
            for (const std::string& text : outcome.notes) {
                printer.printMessage(outcome.path, text);
            }
        }
        if (printer.exitStatus() == 0) {
            printer.printMessages(request.output, writer.write(state, request));
        }
    } catch (const Ogre::Exception& error) {
        printer.printMessage(request.output, "ERR: " + error.getDescription());
    }
}

}  // namespace

void addExportCommand(CLI::App& app, int& exitCode) {
    auto request = std::make_shared<ExportRequest>();
    CLI::App* command = app.add_subcommand(
        "export",
        "Build the viewer's start-up scene without a display, add the files as the viewer adds "
        "them and write the scene; OUT's extension picks what is written (" +
            extensionList() + ")");
    command->add_option("-o,--output", request->output, "File to write (OUT.rts)")->required();
    command->add_option("files", request->files,
                        "Material scripts (.material), loaded first, model files (.gmdl, .gmsh, "
                        ".5gd, .simpe, .mesh), each on a new node, and scene files (.rts), each "
                        "replacing the scene");
    command->callback([command, request, &exitCode]() {
        const ExportWriter* writer = writerFor(request->output);
        std::string usage = usageError(*command, request->output, writer);
        if (!usage.empty()) {
            std::fprintf(stderr, "%s\n", usage.c_str());
            exitCode = 2;
            return;
        }
        MessagePrinter printer;
        exportScene(*request, *writer, printer);
        exitCode = printer.exitStatus();
    });
}

}  // namespace verada::cli
