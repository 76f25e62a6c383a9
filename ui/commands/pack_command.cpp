#include "ui/commands/pack_command.h"

#include <filesystem>
#include <memory>
#include <optional>

#include "formats/package/archive_packer.h"
#include "platform/application_identity.h"
#include "platform/pick_file.h"

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
                        WindowHandle mainWindow, ItemStorage storage) {
    if (platform.messageBox(mainWindow, kPackWarning, kApplicationCaption, MessageButtons::OkCancel,
                            MessageIcon::Information) != kMessageOk) {
        return;
    }
    WorkingDirectoryGuard back(directories);
    std::optional<PickedFile> anyFile =
        pickFile(platform, directories, "txt", {{"Any File (*.*)", "*.*"}}, false);
    if (!anyFile) {
        return;
    }
    const std::string sourceFolder = std::filesystem::path(anyFile->fullPath).parent_path();
    std::optional<PickedFile> package = pickFile(
        platform, directories, "package",
        {{"Spore Archive files (*.package)", "*.package"}, {"All Files (*.*)", "*.*"}}, true);
    if (!package) {
        showResult(platform, mainWindow, "File not found.");
        return;
    }
    Result<PackedArchive> packed;
    {
        std::unique_ptr<Progress> progress =
            platform.startProgress(mainWindow, "Packing " + package->fileTitle);
        packed = packArchive(
            sourceFolder + "/", package->fullPath,
            [&progress](std::uint64_t done, std::uint64_t total) {
                if (progress) {
                    progress->update(done, total);
                }
            },
            storage);
    }
    if (!packed) {
        showResult(platform, mainWindow, packed.error());
    }
    // The next file dialog starts in the source folder.
    directories.lastUsedDirectory = sourceFolder;
}

}  // namespace verada
