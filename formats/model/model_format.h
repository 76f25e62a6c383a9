#pragma once

#include <optional>
#include <string>

#include "formats/model/imported_model.h"

namespace verada {

enum class ModelFormat { Gmdl, Gmsh, Gmdc };

// By extension, case-insensitively: .gmdl, .gmsh, .5gd and .simpe.
std::optional<ModelFormat> modelFormatForPath(const std::string& path);

// Reads with the reader of the format; same results as that reader.
std::optional<std::string> readModelFile(ModelFormat format, ImportedModel& model,
                                         const std::string& fileName);

}  // namespace verada
