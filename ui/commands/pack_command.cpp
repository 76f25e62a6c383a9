#include "ui/commands/pack_command.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "platform/application_identity.h"
#include "platform/pick_file.h"
#include "formats/package/archive_packer.h"

namespace verada {
namespace {

constexpr const char* kPackWarning =
    "Use care with this function. The first\r\nfile dialog will be for you to specify a file\r\n"
    "from the source directory. Then you need to specify\r\nthe destination archive name in a "
    "second file dialog.\r\nBe careful not to overwrite your game files.";

void showResult(Platform& platform, WindowHandle mainWindow, const std::string& text) {
    platform.messageBox(mainWindow, text, kApplicationCaption, MessageButtons::Ok,
                        MessageIcon::None);
}

}  // namespace

void packArchiveCommand(Platform& platform, SessionDirectories& directories,
                        WindowHandle mainWindow) {
    if (platform.messageBox(mainWindow, kPackWarning, kApplicationCaption, MessageButtons::OkCancel,
                            MessageIcon::Information) != kMessageOk) {
        return;
    }
    std::optional<PickedFile> anyFile =
        pickFile(platform, directories, "txt", {{"Any File (*.*)", "*.*"}}, false);
    if (anyFile) {
        const std::string sourceDirectory =
            std::filesystem::path(anyFile->fullPath).parent_path().string() + "/";
        std::optional<PickedFile> package = pickFile(
            platform, directories, "package",
            {{"Spore Archive files (*.package)", "*.package"}, {"All Files (*.*)", "*.*"}}, true);
        if (!package) {
            showResult(platform, mainWindow, "File not found.");
        } else {
            std::optional<std::string> error;
            {
                std::unique_ptr<Progress> progress =
                    platform.startProgress(mainWindow, "Packing " + package->fileTitle);
                error = packArchive(sourceDirectory, package->fullPath,
                                    [&progress](std::uint64_t done, std::uint64_t total) {
                                        if (progress) {
                                            progress->update(done, total);
                                        }
                                    });
            }
            if (error) {
                showResult(platform, mainWindow, *error);
            }
            // The next file dialog starts in the source folder.
            directories.lastUsedDirectory =
                std::filesystem::path(anyFile->fullPath).parent_path().string();
        }
    }
    std::error_code error;
    std::filesystem::current_path(directories.startupDirectory, error);
}

}  // namespace verada
