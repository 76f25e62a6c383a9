#pragma once

#include "formats/package/archive_packer.h"
#include "platform/platform.h"
#include "platform/posix/working_directory.h"

namespace verada {

// Tools > "Pack DBPF (V2)": asks for a file of the source folder, then for the package to
// write, and packs the folder's item files into it; "Pack DBPF (V2), Compressed..." does the
// same with ItemStorage::CompressedWhenSmaller.
void packArchiveCommand(Platform& platform, SessionDirectories& directories,
                        WindowHandle mainWindow, ItemStorage storage = ItemStorage::AsIs);

}  // namespace verada
