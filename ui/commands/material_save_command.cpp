#include "ui/commands/material_save_command.h"

#include <optional>

#include "engine/materials/material_edits.h"
#include "engine/materials/material_listing.h"
#include "platform/pick_file.h"
#include "ui/commands/command_messages.h"

namespace verada {

bool saveMaterialScriptCommand(AppState& state, WindowHandle owner, const std::string& name) {
    if (!materialLoaded(name)) {
        return false;
    }
    WorkingDirectoryGuard back(state.directories);
    std::optional<PickedFile> picked =
        pickFile(*state.platform, state.directories, "material",
                 {{"Ogre Material files (*.material)", "*.material"}}, true);
    if (!picked) {
        return false;
    }
    Status saved = saveMaterialScript(name, picked->fullPath);
    showCommandMessages(state, owner, saved);
    return saved.ok();
}

}  // namespace verada
