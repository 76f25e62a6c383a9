#include "ui/commands/save_rts_command.h"

#include "engine/scenefile/rts_save.h"
#include "ui/commands/command_messages.h"
#include "ui/commands/rts_file_dialog.h"

namespace verada {

bool saveRtsScene(AppState& state) {
    WorkingDirectoryGuard back(state.directories);
    std::optional<PickedFile> picked = pickRtsFile(state, true);
    if (!picked) {
        return false;
    }
    // Named as the dialog returned it, in the folder the dialog made current.
    Status saved = writeRtsFile(state, picked->fileTitle);
    showCommandMessages(state, state.mainWindow, saved);
    return saved.ok();
}

}  // namespace verada
