#include "ui/commands/open_files_command.h"

#include <filesystem>
#include <system_error>

#include "engine/scene_files.h"
#include "formats/scene/viewer_files.h"
#include "platform/application_identity.h"
#include "ui/commands/load_messages.h"

namespace verada {

OpenedFiles openFiles(AppState& state, const std::vector<std::string>& paths) {
    OpenedFiles opened;
    for (const FileOutcome& outcome : loadSceneFiles(state, paths)) {
        showLoadWarnings(state, outcome.status.warnings());
        for (const std::string& text : outcome.notes) {
            state.platform->messageBox(state.mainWindow, text, kApplicationCaption,
                                       MessageButtons::Ok, MessageIcon::None);
        }
        if (!outcome.status) {
            showLoadFailure(state, outcome.status.error());
            continue;
        }
        std::error_code error;
        std::filesystem::path absolute =
            std::filesystem::absolute(outcome.path, error).lexically_normal();
        opened.paths.push_back(error ? outcome.path : absolute.string());
        const ViewerFileType* type = viewerFileType(outcome.path);
        opened.ownViewOpened = opened.ownViewOpened || (type != nullptr && type->bringsOwnView);
    }
    return opened;
}

}  // namespace verada
