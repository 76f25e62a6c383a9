#include <cstdio>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/engine_log.h"
#include "cli/hidden_x_window.h"
#include "cli/message_printer.h"
#include "cli/subcommands.h"
#include "engine/engine.h"
#include "engine/offscreen_render.h"
#include "engine/scene/view_framing.h"
#include "engine/scene_files.h"
#include "formats/config/config.h"
#include "platform/posix/working_directory.h"

namespace verada::cli {
namespace {

struct RenderRequest {
    std::string output;
    std::string size = "800x600";
    bool frame = false;
    std::vector<std::string> files;
};

constexpr unsigned kMaxImageSide = 8192;

// "WxH", or "N" for a square (thumbnailers pass one number), both sides from 1 to 8192.
std::optional<std::pair<unsigned, unsigned>> parseImageSize(const std::string& text) {
    std::smatch match;
    if (!std::regex_match(text, match, std::regex("([0-9]{1,5})(?:x([0-9]{1,5}))?"))) {
        return std::nullopt;
    }
    unsigned width = static_cast<unsigned>(std::stoul(match[1]));
    unsigned height = match[2].matched ? static_cast<unsigned>(std::stoul(match[2])) : width;
    if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide) {
        return std::nullopt;
    }
    return std::make_pair(width, height);
}

// One run: the engine on a hidden window, the files opened as the viewer opens them, one
// picture. Every file's messages are printed; the picture shows the files that loaded.
void renderScene(const RenderRequest& request, MessagePrinter& printer) {
    const std::string& output = request.output;
    std::pair<unsigned, unsigned> size = *parseImageSize(request.size);
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
    Result<std::unique_ptr<Engine>> engine = Engine::startOnScreen(
        state, window.handle(), IniProfile::load(kConfigFileName), subcommandEngineLog());
    if (!engine) {
        printer.printMessage(output, "ERR: cannot start the 3D engine: " + engine.error());
        return;
    }
    for (const FileOutcome& outcome : loadSceneFiles(state, request.files)) {
        printer.printMessages(outcome.path, outcome.status);
        for (const std::string& text : outcome.notes) {
            printer.printMessage(outcome.path, text);
        }
    }
    if (request.frame) {
        frameView(state);
    }
    printer.printMessages(output, renderSceneToFile(state, size.first, size.second, output));
}

}  // namespace

void addRenderCommand(CLI::App& app, int& exitCode) {
    auto request = std::make_shared<RenderRequest>();
    CLI::App* command = app.add_subcommand(
        "render",
        "Build the scene of the files without showing a window (an X display is still "
        "needed; xvfb-run will do), render one frame with the configured view, or with "
        "--frame one that shows every model whole, and write it as a PNG");
    command->add_option("-o,--output", request->output, "Picture to write (OUT.png)")->required();
    command
        ->add_option("--size", request->size,
                     "Picture size WIDTHxHEIGHT, or N for N x N; sides from 1 to 8192")
        ->capture_default_str()
        ->check(CLI::Validator(
            [](std::string& text) {
                return parseImageSize(text) ? std::string()
                                            : "must be WIDTHxHEIGHT or N, sides from 1 to 8192";
            },
            "SIZE"));
    command->add_flag("--frame", request->frame,
                      "Place the camera to show every model whole, as the viewer's Home key does");
    command->add_option("files", request->files,
                        "Material scripts (.material), loaded first, then model files (.gmdl, "
                        ".gmsh, .5gd, .simpe, .mesh) and packages, each model on a new node; none "
                        "renders the empty scene");
    command->callback([request, &exitCode]() {
        MessagePrinter printer;
        renderScene(*request, printer);
        exitCode = printer.exitStatus();
    });
}

}  // namespace verada::cli
