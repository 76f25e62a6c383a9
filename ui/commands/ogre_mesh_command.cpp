#include "ui/commands/ogre_mesh_command.h"

#include <optional>

#include "engine/mesh/ogre_mesh_node.h"
#include "platform/application_identity.h"
#include "platform/pick_file.h"
#include "ui/commands/load_messages.h"

namespace verada {

bool loadOgreMeshNode(AppState& state, const std::string& nodeName) {
    WorkingDirectoryGuard back(state.directories);
    std::optional<PickedFile> picked = pickFile(*state.platform, state.directories, "mesh",
                                                {{"Ogre Mesh files (*.mesh)", "*.mesh"}}, false);
    if (!picked) {
        return false;
    }
    Result<OgreMeshNode> shown = loadOgreMeshFile(state, picked->fullPath, nodeName);
    if (!shown && shown.error().rfind("WARN: ", 0) == 0) {
        // No such node: shown as the model commands show it.
        state.platform->messageBox(state.mainWindow, shown.error(), kApplicationCaption,
                                   MessageButtons::Ok, MessageIcon::Warning);
    } else if (!shown) {
        showLoadFailure(state, shown.error());
    }
    return shown.ok();
}

}  // namespace verada
