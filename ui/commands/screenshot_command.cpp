#include "ui/commands/screenshot_command.h"

#include <optional>

#include <OgreRenderWindow.h>

#include "engine/offscreen_render.h"
#include "platform/application_identity.h"
#include "platform/pick_file.h"

namespace verada {

bool saveScreenshotCommand(AppState& state) {
    if (state.renderWindow == nullptr) {
        return false;
    }
    WorkingDirectoryGuard back(state.directories);
    std::optional<PickedFile> picked = pickFile(*state.platform, state.directories, "png",
                                                {{"PNG Pictures (*.png)", "*.png"}}, true);
    if (!picked) {
        return false;
    }
    Status saved = renderSceneToFile(state, state.renderWindow->getWidth(),
                                     state.renderWindow->getHeight(), picked->fullPath);
    if (!saved) {
        state.platform->messageBox(state.mainWindow, saved.error(), kApplicationCaption,
                                   MessageButtons::Ok, MessageIcon::Warning);
    }
    return saved.ok();
}

}  // namespace verada
