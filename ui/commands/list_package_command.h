#pragma once

#include "platform/platform.h"
#include "platform/posix/working_directory.h"

class QWidget;

namespace verada {

// Tools > "List Package Contents...": asks for a package and shows its index in a dialog;
// nothing is decompressed or written. A package that cannot be read shows its error instead.
void listPackageCommand(Platform& platform, SessionDirectories& directories, QWidget* mainWindow);

}  // namespace verada
