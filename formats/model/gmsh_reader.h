#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/io/result.h"
#include "formats/model/imported_model.h"

namespace verada {

// Parses a Spore mesh file into one group; fileName supplies its name.
Result<ImportedModel> readGmshData(const std::string& fileName,
                                   const std::vector<std::uint8_t>& bytes);

}  // namespace verada
