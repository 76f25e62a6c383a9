#include "ui/commands/unpack_command.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "platform/application_identity.h"
#include "platform/pick_file.h"
#include "formats/package/archive_unpacker.h"

namespace verada {

void unpackArchiveCommand(Platform& platform, SessionDirectories& directories,
                          WindowHandle mainWindow) {
    std::optional<PickedFile> package = pickFile(
        platform, directories, "package", {{"DBPF V2 files (*.package)", "*.package"}}, false);
    if (!package) {
        return;
    }
    UnpackResult result;
    {
        std::unique_ptr<Progress> progress =
            platform.startProgress(mainWindow, "Unpacking " + package->fileTitle);
        result = unpackArchive(
            package->fileTitle,
            [&progress](std::uint64_t done, std::uint64_t total) {
                if (progress) {
                    progress->update(done, total);
                }
            },
            [](const std::string& text) {
                std::fwrite(text.data(), 1, text.size(), stdout);
                std::fflush(stdout);
            });
    }
    platform.messageBox(mainWindow, result.text, kApplicationCaption, MessageButtons::Ok,
                        MessageIcon::None);
    restoreDirectories(directories);
}

}  // namespace verada
