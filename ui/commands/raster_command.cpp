#include "ui/commands/raster_command.h"

#include <optional>

#include "formats/raster/raster_converter.h"
#include "platform/application_identity.h"
#include "platform/pick_file.h"

namespace verada {

void convertRasterCommand(Platform& platform, SessionDirectories& directories,
                          WindowHandle mainWindow) {
    WorkingDirectoryGuard back(directories);
    std::optional<PickedFile> picked =
        pickFile(platform, directories, "rast",
                 {{"Spore Raster files (*.rast)", "*.rast"}, {"All Files (*.*)", "*.*"}}, false);
    if (!picked) {
        return;
    }
    Result<std::string> converted = convertRasterFile(picked->fileTitle);
    platform.messageBox(mainWindow, converted ? converted.value() : converted.error(),
                        kApplicationCaption, MessageButtons::Ok, MessageIcon::None);
}

}  // namespace verada
