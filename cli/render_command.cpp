#include <cstdio>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <OgreLogManager.h>
#include <OgreRoot.h>
#include <CLI/CLI.hpp>

#include "cli/console_platform.h"
#include "cli/hidden_x_window.h"
#include "cli/subcommands.h"
#include "engine/engine_setup.h"
#include "engine/mesh/model_loader.h"
#include "engine/offscreen_render.h"
#include "engine/scene/scene_nodes.h"
#include "formats/config/config.h"

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

// The engine objects of one run, freed the way the viewer frees them at shutdown.
class EngineRun {
  public:
    explicit EngineRun(Platform& platform) {
        state.platform = &platform;
        state.directories.startupDirectory = currentDirectory();
        state.directories.lastUsedDirectory = state.directories.startupDirectory;
    }
    ~EngineRun() {
        if (state.sceneManager != nullptr) {
            releaseMeshVertexData(state);
        }
        delete state.root;
        delete state.logManager;
    }
    EngineRun(const EngineRun&) = delete;
    EngineRun& operator=(const EngineRun&) = delete;

    AppState state;
};

std::optional<std::string> renderScene(const RenderRequest& request) {
    std::optional<std::pair<unsigned, unsigned>> size = parseImageSize(request.size);
    if (!size) {
        return "ERR: --size must be WIDTHxHEIGHT with sides from 1 to 8192, not \"" + request.size +
               "\"";
    }
    HiddenXWindow window;
    if (!window.open()) {
        const char* display = std::getenv("DISPLAY");
        return std::string("ERR: cannot open the X display \"") + (display ? display : "") +
               "\"; rendering needs one (xvfb-run will do)";
    }
    ConsolePlatform platform;
    EngineRun run(platform);
    if (std::optional<std::string> error =
            initialiseEngine(run.state, window.handle(), IniProfile::load(kConfigFileName))) {
        return "ERR: cannot start the 3D engine: " + *error;
    }
    for (const std::string& file : request.files) {
        if (std::optional<std::string> error = addModelFileAsNewNode(run.state, file)) {
            return error;
        }
    }
    return renderSceneToFile(run.state, size->first, size->second, request.output);
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
                        "Model files (.gmdl, .gmsh, .5gd, .simpe), each on a new node; none "
                        "renders the empty scene");
    command->callback([request, &exitCode]() {
        if (std::optional<std::string> error = renderScene(*request)) {
            std::fprintf(stderr, "%s\n", error->c_str());
            exitCode = 1;
            return;
        }
        exitCode = 0;
    });
}

}  // namespace verada::cli
