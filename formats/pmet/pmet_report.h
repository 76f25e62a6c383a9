#pragma once

#include <optional>
#include <string>

#include "formats/io/big_endian_input.h"
#include "formats/pmet/pmet_record.h"

namespace verada {

// Reads the header record; nothing on success, else the error text.
std::optional<std::string> readPmetRecord(BigEndianInput& file, PmetRecord& record);

// Opens the file and reads its record; nothing on success, else the error text.
std::optional<std::string> loadPmetFile(const std::string& fileName, PmetRecord& record);

// The text report of a record, every line ending in "\r\n".
std::string formatPmetReport(const PmetRecord& record);

// The report of a file, or the error text in its place.
std::string parsePmetFile(const std::string& fileName);

// The report's file: the PMET file's path without its extension plus ".txt".
std::string pmetReportName(const std::string& fileName);

// Writes the text as it stands; false when the file cannot be created or fully written.
bool writePmetReport(const std::string& outputName, const std::string& text);

}  // namespace verada
