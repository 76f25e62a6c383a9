#include "ui/commands/load_rts_command.h"

#include "engine/scenefile/rts_load.h"
#include "ui/commands/command_messages.h"
#include "ui/commands/rts_file_dialog.h"

namespace verada {

bool loadRtsScene(AppState& state) {
    WorkingDirectoryGuard back(state.directories);
    std::optional<PickedFile> picked = pickRtsFile(state, false);
    if (!picked) {
        return false;
    }
    Status loaded = loadRtsFile(state, picked->fullPath);
    showCommandMessages(state, state.mainWindow, loaded);
    return loaded.ok();
}

}  // namespace verada
