#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/io/result.h"
#include "formats/model/imported_model.h"

namespace verada {

// Parses a Sims 2 geometry data container. Each part the reader skips adds a warning (a
// "WARN: " line ending in "\r\n") to the result.
Result<ImportedModel> readGmdcData(const std::string& fileName,
                                   const std::vector<std::uint8_t>& bytes);

}  // namespace verada
