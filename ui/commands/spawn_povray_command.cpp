#include "ui/commands/spawn_povray_command.h"

#include "engine/export/pov_export.h"
#include "ui/commands/command_messages.h"

namespace verada {

void spawnPovRay(AppState& state) {
    showCommandMessages(state, state.mainWindow, exportPovFile(state));
}

}  // namespace verada
