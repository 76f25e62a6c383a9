#include "ui/commands/texture_load_command.h"

#include <optional>

#include "engine/materials/texture_library.h"
#include "platform/pick_file.h"
#include "ui/commands/load_messages.h"

namespace verada {

bool loadTextureCommand(AppState& state, std::string& name) {
    name.clear();
    WorkingDirectoryGuard back(state.directories);
    std::optional<PickedFile> picked =
        pickFile(*state.platform, state.directories, "png",
                 {{"Texture files (*.png;*.jpg;*.tga;*.dds)", "*.png;*.jpg;*.tga;*.dds"}}, false);
    if (!picked) {
        return false;
    }
    name = picked->fileTitle;
    Result<LoadedTexture> loaded = loadTextureFile(picked->fullPath);
    if (!loaded) {
        showLoadFailure(state, loaded.error());
        return false;
    }
    return loaded->loaded;
}

}  // namespace verada
