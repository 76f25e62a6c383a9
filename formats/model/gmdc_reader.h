#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/model/imported_model.h"

namespace verada {

// Reads a Sims 2 geometry data container. Empty on success, else the message. On success the
// model's arrays point into this reader's buffers, which stay valid until releaseGmdcBuffers
// or the next GMDC read; on failure the model holds no groups and the buffers are freed.
std::optional<std::string> readGmdcFile(ImportedModel& model, const std::string& fileName);

// The same on file contents already in memory.
std::optional<std::string> readGmdcData(ImportedModel& model, const std::string& fileName,
                                        const std::vector<std::uint8_t>& bytes);

// Frees every element and group buffer of the reader.
void releaseGmdcBuffers();

// The warning lines of the last read, each ending in "\r\n".
const std::string& gmdcWarningLog();

}  // namespace verada
