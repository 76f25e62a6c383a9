#include "ui/commands/save_mesh_command.h"

#include <optional>

#include "engine/export/export_texts.h"
#include "engine/export/ogre_mesh_export.h"
#include "platform/application_identity.h"
#include "platform/pick_file.h"

namespace verada {

bool saveMeshAsOgreMesh(AppState& state, WindowHandle owner, const std::string& entityName) {
    WorkingDirectoryGuard back(state.directories);
    std::optional<PickedFile> picked = pickFile(*state.platform, state.directories, "mesh",
                                                {{"Ogre Mesh files (*.mesh)", "*.mesh"}}, true);
    if (!picked) {
        return false;
    }
    // Named as the dialog returned it, in the folder the dialog made current.
    Status saved = saveEntityMesh(state, entityName, picked->fileTitle, MeshFileVersion::Current);
    if (!saved) {
        const bool noEntity = saved.error() == exporting::kSaveMeshFailed;
        state.platform->messageBox(
            owner, saved.error(),
            noEntity ? exporting::kSaveMeshFailedCaption : kApplicationCaption, MessageButtons::Ok,
            MessageIcon::None);
    }
    return saved.ok();
}

}  // namespace verada
