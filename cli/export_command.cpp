#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <OgreException.h>
#include <CLI/CLI.hpp>

#include "cli/message_printer.h"
#include "cli/subcommands.h"
#include "engine/export/export_texts.h"
#include "engine/export/ogre_mesh_export.h"
#include "engine/export/pov_export.h"
#include "engine/export/scene_export.h"
#include "engine/headless_scene.h"
#include "engine/scene_files.h"
#include "engine/scenefile/rts_save.h"
#include "formats/config/config.h"
#include "formats/io/path.h"
#include "platform/command_words.h"
#include "platform/posix/posix_system_services.h"
#include "platform/posix/working_directory.h"

namespace verada::cli {
namespace {

// What `verada export` was asked for. Options that only some writers take join here.
struct ExportRequest {
    std::string output;
    std::vector<std::string> files;
    std::string node;         // .mesh: the node whose first entity's mesh is written
    std::string meshVersion;  // .mesh: "1.8" for the older format
    bool run = false;         // .pov: POVCommand run on the file, waited for
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

Status writeMesh(AppState& state, const ExportRequest& request) {
    return saveNodeMesh(
        state, request.node, request.output,
        request.meshVersion == "1.8" ? MeshFileVersion::V1_8 : MeshFileVersion::Current);
}

// With --run, a command that is not set, does not start or ends with another status than 0
// fails the export; the file stays.
Status writePov(AppState& state, const ExportRequest& request) {
    Status written = writePovFile(state, request.output);
    if (!written || !request.run) {
        return written;
    }
    const std::string& command = state.povSettings.povCommand;
    PosixSystemServices system;
    Status ran = splitCommandWords(command).empty()
                     ? Status(fail(exporting::kNoPovCommand))
                     : runPovCommand(system, command, request.output, true);
    if (ran) {
        return written;
    }
    ran.takeWarnings(written);
    return ran;
}

Status writeScene(AppState& state, const ExportRequest& request) {
    return writeSceneExport(state, request.output);
}

const std::vector<ExportWriter>& exportWriters() {
    static const std::vector<ExportWriter> writers = {
        {".rts", {}, writeRts},                              // the scene file
        {".mesh", {"--node", "--mesh-version"}, writeMesh},  // one model's Ogre mesh
        {".pov", {"--run"}, writePov},                       // POV-Ray
        {".glb", {}, writeScene},                            // glTF binary
        {".gltf", {}, writeScene},                           // glTF JSON
        {".obj", {}, writeScene},                            // Wavefront OBJ and MTL
    };
    return writers;
}

// The options every writer takes; any other belongs to the writers that list it.
bool takenByEveryWriter(const CLI::Option& option) {
    return option.check_name("--output") || option.check_name("files") ||
           option.check_name("--help");
}

const ExportWriter* writerFor(const std::string& output) {
    const std::string extension = lowerExtension(output);
    for (const ExportWriter& writer : exportWriters()) {
        if (extension == writer.extension) {
            return &writer;
        }
    }
    return nullptr;
}

// ".rts, .mesh or .pov"
std::string extensionList(const std::vector<const ExportWriter*>& writers) {
    std::string list;
    for (std::size_t i = 0; i < writers.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == writers.size() ? " or " : ", ");
        list += writers[i]->extension;
    }
    return list;
}

// The writers that take the option; every writer for the options all of them take.
std::vector<const ExportWriter*> writersTaking(const CLI::Option* option) {
    std::vector<const ExportWriter*> taking;
    for (const ExportWriter& writer : exportWriters()) {
        if (option == nullptr ||
            std::any_of(writer.options.begin(), writer.options.end(),
                        [&](const std::string& name) { return option->check_name(name); })) {
            taking.push_back(&writer);
        }
    }
    return taking;
}

std::string extensionList() {
    return extensionList(writersTaking(nullptr));
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
            return "verada export: " + option->get_name() + " goes with " +
                   extensionList(writersTaking(option)) + " output, not with " + writer->extension;
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
    command->add_option("-o,--output", request->output, "File to write: " + extensionList())
        ->required();
    command->add_option("--node", request->node,
                        ".mesh: the node whose first entity's mesh is written (default: the first "
                        "model's node)");
    command
        ->add_option("--mesh-version", request->meshVersion,
                     ".mesh: 1.8 writes the older format that Assimp and older Ogre programs "
                     "read (default: 1.100, Ogre 1.12's own)")
        ->check(CLI::IsMember({"1.8", "1.100"}));
    command->add_flag("--run", request->run,
                      ".pov: run POVCommand of ./Verada.cfg on the file and wait for it");
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
