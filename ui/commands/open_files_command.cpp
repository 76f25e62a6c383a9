#include "ui/commands/open_files_command.h"

#include <filesystem>
#include <system_error>

#include "formats/scene/viewer_files.h"
#include "ui/commands/add_model_command.h"

namespace verada {

OpenedFiles openFiles(AppState& state, const std::vector<std::string>& paths) {
    OpenedFiles opened;
    for (const std::string& path : paths) {
        if (addModelFilesAsNewNodes(state, {path}) == 0) {
            continue;
        }
        std::error_code error;
        std::filesystem::path absolute = std::filesystem::absolute(path, error).lexically_normal();
        opened.paths.push_back(error ? path : absolute.string());
        const ViewerFileType* type = viewerFileType(path);
        opened.ownViewOpened = opened.ownViewOpened || (type != nullptr && type->bringsOwnView);
    }
    return opened;
}

}  // namespace verada
