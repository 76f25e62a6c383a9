#pragma once

#include "platform/platform.h"
#include "platform/posix/working_directory.h"

namespace verada {

// Tools > "View PMET file": writes the report of a chosen PMET file beside it as NAME.txt and
// opens it in the desktop's viewer. Parse errors are written and shown in place of the report.
void viewPmetFile(Platform& platform, SessionDirectories& directories, WindowHandle mainWindow);

}  // namespace verada
