#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/working_directory.h"

namespace verada {

struct PickedFile {
    std::string fileTitle;  // the name without folder; opens relative to the new working directory
    std::string fullPath;   // working directory + "/" + fileTitle
};

// The one open/save file dialog. After a choice the working directory is the chosen file's
// folder and lastUsedDirectory follows it (a WorkingDirectoryGuard made before the dialog
// goes back). A cancelled open dialog says "File not located"; a cancelled save dialog says
// nothing.
std::optional<PickedFile> pickFile(Dialogs& dialogs, SessionDirectories& directories,
                                   const std::string& defaultExtension,
                                   const std::vector<FileFilter>& filters, bool save);

}  // namespace verada
