#pragma once

#include "platform/platform.h"
#include "platform/posix/working_directory.h"

namespace verada {

// Tools > "Convert .rast to .dds": asks for a raster, converts it and shows the result.
void convertRasterCommand(Platform& platform, SessionDirectories& directories,
                          WindowHandle mainWindow);

}  // namespace verada
