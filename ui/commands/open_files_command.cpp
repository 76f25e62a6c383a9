#include "ui/commands/open_files_command.h"

#include "engine/scene_files.h"
#include "platform/application_identity.h"
#include "ui/commands/load_messages.h"

namespace verada {

int openSceneFiles(AppState& state, const std::vector<std::string>& paths) {
    int loaded = 0;
    for (const FileOutcome& outcome : loadSceneFiles(state, paths)) {
        showLoadWarnings(state, outcome.status.warnings());
        for (const std::string& text : outcome.notes) {
            state.platform->messageBox(state.mainWindow, text, kApplicationCaption,
                                       MessageButtons::Ok, MessageIcon::None);
        }
        if (outcome.status) {
            ++loaded;
        } else {
            showLoadFailure(state, outcome.status.error());
        }
    }
    return loaded;
}

}  // namespace verada
