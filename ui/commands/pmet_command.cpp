#include "ui/commands/pmet_command.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "platform/application_identity.h"
#include "platform/pick_file.h"
#include "formats/pmet/pmet_report.h"
#include "formats/io/printf_text.h"

namespace verada {

void viewPmetFile(Platform& platform, SessionDirectories& directories, WindowHandle mainWindow) {
    std::optional<PickedFile> picked =
        pickFile(platform, directories, "pmet", {{"Spore PMET files (*.pmet)", "*.pmet"}}, false);
    if (!picked) {
        platform.messageBox(mainWindow, "File not found.", kApplicationCaption, MessageButtons::Ok,
                            MessageIcon::None);
        std::error_code ignored;
        std::filesystem::current_path(directories.startupDirectory, ignored);
        return;
    }
    std::string text = parsePmetFile(picked->fileTitle);
    std::string outputName = pmetReportName(picked->fileTitle);
    if (writePmetReport(outputName, text)) {
        // The viewer starts after we have left this folder, so it gets the full path.
        std::string folder = currentDirectory();
        if (folder.empty() || folder.back() != '/') {
            folder += '/';
        }
        std::string reportPath = folder + outputName;
        if (!platform.openWithDefaultViewer(reportPath)) {
            platform.messageBox(
                mainWindow,
                printfText("ERR: Unable to open %s with the default viewer.", reportPath.c_str()),
                kApplicationCaption, MessageButtons::Ok, MessageIcon::None);
        }
    } else {
        platform.messageBox(mainWindow, "Unable to create .txt file.", kApplicationCaption,
                            MessageButtons::Ok, MessageIcon::None);
    }
    restoreDirectories(directories);
}

}  // namespace verada
