#pragma once

#include <string>

#include "formats/io/result.h"

namespace verada {

// The DDS file for one level of a raster: the raster's path without its extension plus
// "-mm%02d.dds", so level 0 of "tree.rast" is "tree-mm00.dds" beside it.
std::string ddsOutputName(const std::string& fileName, int level);

// Writes level 0 of a Spore raster (*.rast) as a DDS file beside it; on success the report
// "<fileName> converted, no error.". A failure never leaves a partial DDS file.
Result<std::string> convertRasterFile(const std::string& fileName);

}  // namespace verada
