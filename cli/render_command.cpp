#include <cstdio>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/hidden_x_window.h"
#include "cli/message_printer.h"
#include "cli/subcommands.h"
#include "engine/engine.h"
#include "engine/mesh/model_loader.h"
#include "engine/offscreen_render.h"
#include "formats/config/config.h"
#include "platform/posix/working_directory.h"

namespace verada::cli {
namespace {

struct RenderRequest {
    std::string output;
    std::string size = "800x600";
    std::vector<std::string> files;
};

constexpr unsigned kMaxImageSide = 8192;

// "WxH" with both sides from 1 to 8192.
std::optional<std::pair<unsigned, unsigned>> parseImageSize(const std::string& text) {
    std::smatch match;
    if (!std::regex_match(text, match, std::regex("([0-9]{1,5})x([0-9]{1,5})"))) {
        return std::nullopt;
    }
    unsigned width = static_cast<unsigned>(std::stoul(match[1]));
    unsigned height = static_cast<unsigned>(std::stoul(match[2]));
    if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide) {
        return std::nullopt;
    }
    return std::make_pair(width, height);
}

// One run: the engine on a hidden window, every model on its own node, one picture. Every
// model's messages are printed; the picture is written only when all of them loaded.
void renderScene(const RenderRequest& request, MessagePrinter& printer) {
    const std::string& output = request.output;
    std::optional<std::pair<unsigned, unsigned>> size = parseImageSize(request.size);
    if (!size) {
        printer.printMessage(output,
                             "ERR: --size must be WIDTHxHEIGHT with sides from 1 to 8192, not \"" +
                                 request.size + "\"");
        return;
    }
    HiddenXWindow window;
    if (!window.open()) {
        const char* display = std::getenv("DISPLAY");
        printer.printMessage(output, std::string("ERR: cannot open the X display \"") +
                                         (display ? display : "") +
                                         "\"; rendering needs one (xvfb-run will do)");
        return;
    }
    AppState state;
    state.directories = sessionDirectoriesHere();
    Result<std::unique_ptr<Engine>> engine =
        Engine::startOnScreen(state, window.handle(), IniProfile::load(kConfigFileName));
    if (!engine) {
        printer.printMessage(output, "ERR: cannot start the 3D engine: " + engine.error());
        return;
    }
    bool allLoaded = true;
    for (const std::string& file : request.files) {
        for (const AddedModel& added : addModelFileAsNewNodes(state, file)) {
            allLoaded = printer.printMessages(added.file, added.built) && allLoaded;
            if (added.built) {
                for (const std::string& text : added.built->leftOut) {
                    printer.printMessage(added.file, text);
                }
            }
        }
    }
    if (allLoaded) {
        printer.printMessages(output, renderSceneToFile(state, size->first, size->second, output));
    }
}

}  // namespace

void addRenderCommand(CLI::App& app, int& exitCode) {
    auto request = std::make_shared<RenderRequest>();
    CLI::App* command = app.add_subcommand(
        "render",
        "Build the scene of the model files without showing a window (an X display is still "
        "needed; xvfb-run will do), render one frame with the configured view and write it "
        "as a PNG");
    command->add_option("-o,--output", request->output, "Picture to write (OUT.png)")->required();
    command->add_option("--size", request->size, "Picture size WIDTHxHEIGHT")
        ->capture_default_str();
    command->add_option("files", request->files,
                        "Model files (.gmdl, .gmsh, .5gd, .simpe) and packages, each model on a "
                        "new node; none renders the empty scene");
    command->callback([request, &exitCode]() {
        MessagePrinter printer;
        renderScene(*request, printer);
        exitCode = printer.exitStatus();
    });
}

}  // namespace verada::cli
