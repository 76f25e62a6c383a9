#include "ui/commands/load_rts_command.h"

#include "engine/scenefile/rts_load.h"
#include "platform/application_identity.h"
#include "ui/commands/rts_file_dialog.h"

namespace verada {

bool loadRtsScene(AppState& state) {
    WorkingDirectoryGuard back(state.directories);
    std::optional<PickedFile> picked = pickRtsFile(state, false);
    if (!picked) {
        return false;
    }
    Status loaded = loadRtsFile(state, picked->fullPath);
    if (!loaded) {
        state.platform->messageBox(state.mainWindow, loaded.error(), kApplicationCaption,
                                   MessageButtons::Ok, MessageIcon::None);
    }
    return loaded.ok();
}

}  // namespace verada
