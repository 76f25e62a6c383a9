#include "ui/commands/open_files_command.h"

#include <filesystem>
#include <system_error>

#include "engine/scene_files.h"
#include "formats/scene/viewer_files.h"
#include "ui/commands/load_messages.h"

namespace verada {

OpenedFiles openFiles(AppState& state, const std::vector<std::string>& paths) {
    OpenedFiles opened;
    for (const FileOutcome& outcome : loadSceneFiles(state, paths)) {
        if (!showLoadOutcome(state, outcome)) {
            continue;
        }
        std::error_code error;
        std::filesystem::path absolute =
            std::filesystem::absolute(outcome.file, error).lexically_normal();
        const std::string file = error ? outcome.file : absolute.string();
        // A package opens once however many of its models load.
        if (opened.paths.empty() || opened.paths.back() != file) {
            opened.paths.push_back(file);
        }
        const ViewerFileType* type = viewerFileType(outcome.file);
        opened.ownViewOpened = opened.ownViewOpened || (type != nullptr && type->bringsOwnView);
    }
    return opened;
}

}  // namespace verada
