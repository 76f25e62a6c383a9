#include "ui/commands/pmet_command.h"

#include <optional>
#include <string>

#include "formats/io/path.h"
#include "formats/io/printf_text.h"
#include "formats/pmet/pmet_report.h"
#include "platform/application_identity.h"
#include "platform/pick_file.h"

namespace verada {

void viewPmetFile(Platform& platform, SessionDirectories& directories, WindowHandle mainWindow) {
    auto show = [&](const std::string& text) {
        platform.messageBox(mainWindow, text, kApplicationCaption, MessageButtons::Ok,
                            MessageIcon::None);
    };
    WorkingDirectoryGuard back(directories);
    std::optional<PickedFile> picked =
        pickFile(platform, directories, "pmet", {{"Spore PMET files (*.pmet)", "*.pmet"}}, false);
    if (!picked) {
        show("File not found.");
        return;
    }
    Result<PmetReportFile> written = writePmetReportFile(picked->fileTitle);
    if (!written) {
        show(written.error());
        return;
    }
    // The viewer starts after we have left this folder, so it gets the full path.
    std::string reportPath = joinPath(currentDirectory(), written->path);
    if (!platform.openWithDefaultViewer(reportPath)) {
        show(printfText(kPmetViewerFailed, reportPath.c_str()));
    }
}

}  // namespace verada
