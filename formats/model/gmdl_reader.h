#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/model/imported_model.h"

namespace verada {

// Reads a Spore model file: one group per index group, each holding only the pool vertices it
// uses, re-based to start at 0. Empty on success, else the message. On failure the model holds
// no groups.
std::optional<std::string> readGmdlFile(ImportedModel& model, const std::string& fileName);

// The same on file contents already in memory; fileName supplies the names.
std::optional<std::string> readGmdlData(ImportedModel& model, const std::string& fileName,
                                        const std::vector<std::uint8_t>& bytes);

}  // namespace verada
