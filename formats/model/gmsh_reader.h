#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/model/imported_model.h"

namespace verada {

// Reads a Spore mesh file into one group. Empty on success, else the message. On failure the
// model holds no groups.
std::optional<std::string> readGmshFile(ImportedModel& model, const std::string& fileName);

// The same on file contents already in memory; fileName supplies the name.
std::optional<std::string> readGmshData(ImportedModel& model, const std::string& fileName,
                                        const std::vector<std::uint8_t>& bytes);

}  // namespace verada
