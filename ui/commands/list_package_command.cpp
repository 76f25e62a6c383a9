#include "ui/commands/list_package_command.h"

#include <optional>

#include "formats/package/package_index.h"
#include "formats/package/package_listing.h"
#include "platform/application_identity.h"
#include "platform/pick_file.h"
#include "ui/dialogs/package_contents_dialog.h"

namespace verada {

void listPackageCommand(Platform& platform, SessionDirectories& directories, QWidget* mainWindow) {
    WorkingDirectoryGuard back(directories);
    std::optional<PickedFile> package =
        pickFile(platform, directories, "package",
                 {{"Package files (*.package)", "*.package"}, {"All Files (*.*)", "*.*"}}, false);
    if (!package) {
        return;
    }
    Result<PackageIndex> index = readPackageIndex(package->fileTitle);
    if (!index) {
        platform.messageBox(mainWindow, index.error(), kApplicationCaption, MessageButtons::Ok,
                            MessageIcon::None);
        return;
    }
    PackageContentsDialog dialog(mainWindow, package->fileTitle, listPackage(index.value()));
    dialog.exec();
}

}  // namespace verada
