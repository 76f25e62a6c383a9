#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/io/result.h"
#include "formats/model/imported_model.h"

namespace verada {

enum class ModelFormat { Gmdl, Gmsh, Gmdc };

inline constexpr char kFileMissingError[] = "ERR: File missing or damaged.";
inline constexpr char kUnknownModelFormat[] =
    "ERR: Unknown model file type, expected .gmdl, .gmsh, .5gd or .simpe.";

// By extension, case-insensitively: .gmdl, .gmsh, .5gd and .simpe.
std::optional<ModelFormat> modelFormatForPath(const std::string& path);

// Parses file contents held in memory with the reader of the format; fileName supplies the
// names the format takes from it.
Result<ImportedModel> readModelData(ModelFormat format, const std::string& fileName,
                                    const std::vector<std::uint8_t>& bytes);

// Reads the file, then parses it as above.
Result<ImportedModel> readModelFile(ModelFormat format, const std::string& fileName);

// The format by the path's extension, then readModelFile.
Result<ImportedModel> readModelFile(const std::string& path);

}  // namespace verada
