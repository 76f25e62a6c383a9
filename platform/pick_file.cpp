#include "platform/pick_file.h"

#include <filesystem>
#include <system_error>

#include "platform/application_identity.h"

namespace verada {

std::optional<PickedFile> pickFile(Platform& platform, SessionDirectories& directories,
                                   const std::string& defaultExtension,
                                   const std::vector<FileFilter>& filters, bool save) {
    FileDialogRequest request;
    request.save = save;
    request.title = kApplicationCaption;
    request.initialDirectory = directories.lastUsedDirectory;
    request.defaultExtension = defaultExtension;
    request.filters = filters;

    std::optional<std::string> chosen = platform.fileDialog(request);
    if (!chosen || chosen->empty()) {
        if (!save) {
            platform.messageBox(nullptr, "File not located", "File Error", MessageButtons::Ok,
                                MessageIcon::Warning);
        }
        return std::nullopt;
    }

    std::filesystem::path path(*chosen);
    std::error_code error;
    std::filesystem::current_path(path.parent_path().empty() ? "." : path.parent_path(), error);

    PickedFile picked;
    picked.fileTitle = path.filename().string();
    std::string folder = currentDirectory();
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    picked.fullPath = folder + picked.fileTitle;
    directories.lastUsedDirectory = currentDirectory();
    return picked;
}

}  // namespace verada
