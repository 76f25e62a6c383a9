#include "ui/commands/raster_command.h"

#include <optional>

#include "platform/application_identity.h"
#include "platform/pick_file.h"
#include "formats/raster/raster_converter.h"

namespace verada {

void convertRasterCommand(Platform& platform, SessionDirectories& directories,
                          WindowHandle mainWindow) {
    std::optional<PickedFile> picked =
        pickFile(platform, directories, "rast",
                 {{"Spore Raster files (*.rast)", "*.rast"}, {"All Files (*.*)", "*.*"}}, false);
    if (!picked) {
        return;
    }
    std::string result = convertRasterFile(picked->fileTitle);
    platform.messageBox(mainWindow, result, kApplicationCaption, MessageButtons::Ok,
                        MessageIcon::None);
    restoreDirectories(directories);
}

}  // namespace verada
