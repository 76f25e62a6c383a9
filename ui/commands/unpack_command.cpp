#include "ui/commands/unpack_command.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "formats/package/archive_unpacker.h"
#include "platform/application_identity.h"
#include "platform/pick_file.h"

namespace verada {

void unpackArchiveCommand(Platform& platform, SessionDirectories& directories,
                          WindowHandle mainWindow) {
    WorkingDirectoryGuard back(directories);
    std::optional<PickedFile> package = pickFile(
        platform, directories, "package", {{"DBPF V2 files (*.package)", "*.package"}}, false);
    if (!package) {
        return;
    }
    Result<std::string> unpacked;
    {
        std::unique_ptr<Progress> progress =
            platform.startProgress(mainWindow, "Unpacking " + package->fileTitle);
        unpacked = unpackArchive(
            package->fileTitle,
            [&progress](std::uint64_t done, std::uint64_t total) {
                if (progress) {
                    progress->update(done, total);
                }
            },
            // The viewer's console shows that work has started.
            [](const std::string& text) {
                std::fwrite(text.data(), 1, text.size(), stdout);
                std::fflush(stdout);
            });
    }
    platform.messageBox(mainWindow, unpacked ? unpacked.value() : unpacked.error(),
                        kApplicationCaption, MessageButtons::Ok, MessageIcon::None);
}

}  // namespace verada
