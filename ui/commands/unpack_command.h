#pragma once

#include "platform/platform.h"
#include "platform/posix/working_directory.h"

namespace verada {

// Tools > "Unpack DBPF|DBBF (V2)": asks for a package and unpacks it beside itself.
void unpackArchiveCommand(Platform& platform, SessionDirectories& directories,
                          WindowHandle mainWindow);

}  // namespace verada
