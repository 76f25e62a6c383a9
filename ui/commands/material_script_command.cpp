#include "ui/commands/material_script_command.h"

#include <optional>

#include "engine/materials/material_script_loader.h"
#include "platform/pick_file.h"
#include "ui/commands/load_messages.h"

namespace verada {

bool loadMaterialScript(AppState& state) {
    WorkingDirectoryGuard back(state.directories);
    std::optional<PickedFile> picked =
        pickFile(*state.platform, state.directories, "material",
                 {{"Ogre Material files (*.material)", "*.material"}}, false);
    if (!picked) {
        return false;
    }
    Result<std::vector<std::string>> loaded = loadMaterialScriptFile(picked->fullPath);
    showLoadWarnings(state, loaded.warnings());
    if (!loaded) {
        showLoadFailure(state, loaded.error());
    }
    return true;
}

}  // namespace verada
