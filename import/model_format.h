#pragma once

#include <optional>
#include <string>

namespace verada {

enum class ModelFormat { Gmdl, Gmsh, Gmdc };

// By extension, case-insensitively: .gmdl, .gmsh, .5gd and .simpe.
std::optional<ModelFormat> modelFormatForPath(const std::string& path);

}  // namespace verada
