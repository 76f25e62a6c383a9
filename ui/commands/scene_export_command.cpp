#include "ui/commands/scene_export_command.h"

#include <optional>

#include "engine/export/scene_export.h"
#include "platform/pick_file.h"
#include "ui/commands/command_messages.h"

namespace verada {

bool saveSceneExport(AppState& state) {
    WorkingDirectoryGuard back(state.directories);
    std::optional<PickedFile> picked = pickFile(*state.platform, state.directories, "glb",
                                                {{"glTF Binary (*.glb)", "*.glb"},
                                                 {"glTF (*.gltf)", "*.gltf"},
                                                 {"Wavefront OBJ (*.obj)", "*.obj"}},
                                                true);
    if (!picked) {
        return false;
    }
    // Named as the dialog returned it, in the folder the dialog made current.
    Status saved = writeSceneExport(state, picked->fileTitle);
    showCommandMessages(state, state.mainWindow, saved);
    return saved.ok();
}

}  // namespace verada
