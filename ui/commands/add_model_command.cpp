#include "ui/commands/add_model_command.h"

#include <optional>

#include <OgreException.h>

#include "engine/mesh/model_loader.h"
#include "engine/scene_files.h"
#include "platform/application_identity.h"
#include "platform/pick_file.h"
#include "platform/posix/working_directory.h"
#include "ui/commands/load_messages.h"

namespace verada {
namespace {

struct FormatDialog {
    const char* defaultExtension;
    std::vector<FileFilter> filters;
};

FormatDialog dialogFor(ModelFormat format) {
    switch (format) {
        case ModelFormat::Gmdl:
            return {"gmdl", {{"Spore GMDL Files (*.gmdl)", "*.gmdl"}, {"All Files (*.*)", "*.*"}}};
        case ModelFormat::Gmsh:
            return {"gmsh", {{"Spore GMSH Files (*.gmsh)", "*.gmsh"}, {"All Files (*.*)", "*.*"}}};
        case ModelFormat::Gmdc:
            break;
    }
    return {"simpe",
            {{"SimPE Files (*.simpe;*.5gd)", "*.simpe;*.5gd"},
             {"SimPE (*.simpe)", "*.simpe"},
             {"GMDC (*.5gd)", "*.5gd"},
             {"All Files (*.*)", "*.*"}}};
}

void showInWindow(AppState& state, const std::string& text, MessageIcon icon) {
    state.platform->messageBox(state.mainWindow, text, kApplicationCaption, MessageButtons::Ok,
                               icon);
}

// Asks for a file of the format and builds its mesh; the groups left out are shown.
std::optional<std::string> pickAndBuild(AppState& state, ModelFormat format,
                                        std::string* openedPath = nullptr) {
    FormatDialog dialog = dialogFor(format);
    WorkingDirectoryGuard back(state.directories);
    std::optional<PickedFile> picked = pickFile(*state.platform, state.directories,
                                                dialog.defaultExtension, dialog.filters, false);
    if (!picked) {
        return std::nullopt;
    }
    Result<BuiltMesh> built = loadModelMesh(format, picked->fileTitle);
    if (!built) {
        // As the program always has, the next command still starts in the file's folder.
        back.stayHere();
        showLoadFailure(state, built.error());
        return std::nullopt;
    }
    for (const std::string& text : built->leftOut) {
        showInWindow(state, text, MessageIcon::None);
    }
    if (openedPath != nullptr) {
        *openedPath = picked->fullPath;
    }
    return built->name;
}

}  // namespace

bool addModelAsNewNode(AppState& state, ModelFormat format, std::string* openedPath) {
    try {
        std::optional<std::string> meshName = pickAndBuild(state, format, openedPath);
        if (!meshName) {
            return false;
        }
        showOnNewNode(state, *meshName);
        return true;
    } catch (const Ogre::Exception& error) {
        showInWindow(state, "ERR: " + error.getDescription(), MessageIcon::None);
        return false;
    }
}

bool addModelToExistingNode(AppState& state, ModelFormat format, const std::string& nodeName) {
    try {
        std::optional<std::string> meshName = pickAndBuild(state, format);
        if (!meshName) {
            return false;
        }
        if (nodeName.empty()) {
            return true;
        }
        Status attached = attachToRootChild(state, nodeName, *meshName);
        if (!attached) {
            showInWindow(state, attached.error(), MessageIcon::Warning);
        }
        return attached.ok();
    } catch (const Ogre::Exception& error) {
        showInWindow(state, "ERR: " + error.getDescription(), MessageIcon::None);
        return false;
    }
}

int addPackageModelsAsNewNodes(AppState& state) {
    WorkingDirectoryGuard back(state.directories);
    std::optional<PickedFile> package =
        pickFile(*state.platform, state.directories, "package",
                 {{"Package files (*.package)", "*.package"}, {"All Files (*.*)", "*.*"}}, false);
    if (!package) {
        return 0;
    }
    int added = 0;
    for (const FileOutcome& outcome : loadSceneFiles(state, {package->fileTitle})) {
        added += showLoadOutcome(state, outcome) ? 1 : 0;
    }
    return added;
}

}  // namespace verada
