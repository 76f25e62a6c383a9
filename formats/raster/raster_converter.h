#pragma once

#include <optional>
#include <string>

namespace verada {

// The DDS file for one level of a raster: the raster's path without its extension plus
// "-mm%02d.dds", so level 0 of "tree.rast" is "tree-mm00.dds" beside it.
std::string ddsOutputName(const std::string& fileName, int level);

// Writes level 0 of a Spore raster (*.rast) as a DDS file; nothing on success, else the message
// text. The DDS is written to a temporary file first, so a failure never leaves a partial one.
std::optional<std::string> writeDdsFromRaster(const std::string& fileName);

// "<fileName> converted, no error."
std::string rasterConvertedText(const std::string& fileName);

// The conversion's result as the user reads it: the success text or the error text.
std::string convertRasterFile(const std::string& fileName);

}  // namespace verada
