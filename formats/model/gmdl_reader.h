#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/io/result.h"
#include "formats/model/imported_model.h"

namespace verada {

// Parses a Spore model file: one group per index group, each holding only the pool vertices it
// uses, re-based to start at 0. fileName supplies the group names.
Result<ImportedModel> readGmdlData(const std::string& fileName,
                                   const std::vector<std::uint8_t>& bytes);

}  // namespace verada
