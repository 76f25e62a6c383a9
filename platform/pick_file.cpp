#include "platform/pick_file.h"

#include <filesystem>
#include <system_error>

#include "platform/application_identity.h"

namespace verada {

std::optional<PickedFile> pickFile(Dialogs& dialogs, SessionDirectories& directories,
                                   const std::string& defaultExtension,
                                   const std::vector<FileFilter>& filters, bool save) {
    FileDialogRequest request;
    request.save = save;
    request.title = kApplicationCaption;
    request.initialDirectory = directories.lastUsedDirectory;
    request.defaultExtension = defaultExtension;
    request.filters = filters;

    std::optional<std::string> chosen = dialogs.fileDialog(request);
    if (!chosen || chosen->empty()) {
        if (!save) {
            dialogs.messageBox(nullptr, "File not located", "File Error", MessageButtons::Ok,
                               MessageIcon::Warning);
        }
        return std::nullopt;
    }

    std::filesystem::path path(*chosen);
    std::error_code error;
    std::filesystem::current_path(path.parent_path().empty() ? "." : path.parent_path(), error);

    PickedFile picked;
    picked.fileTitle = path.filename().string();
    picked.fullPath = (std::filesystem::path(currentDirectory()) / picked.fileTitle).string();
    directories.lastUsedDirectory = currentDirectory();
    return picked;
}

}  // namespace verada
