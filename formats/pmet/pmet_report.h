#pragma once

#include <string>

#include "formats/io/byte_reader.h"
#include "formats/io/result.h"
#include "formats/pmet/pmet_record.h"

namespace verada {

// Shown when the written report cannot be opened in the desktop's viewer; "%s" is its path.
inline constexpr char kPmetViewerFailed[] = "ERR: Unable to open %s with the default viewer.";

// Reads the header record.
Status readPmetRecord(ByteReader& file, PmetRecord& record);

// The text report of a record, every line ending in "\r\n".
std::string formatPmetReport(const PmetRecord& record);

// The report's file: the PMET file's path without its extension plus ".txt".
std::string pmetReportName(const std::string& fileName);

struct PmetReportFile {
    std::string path;            // pmetReportName of the PMET file
    Result<std::string> report;  // the report, or the error text written in its place
};

// Writes the report of a PMET file beside it; a file that cannot be read gets its error text
// written instead. Fails only when the report file cannot be written.
Result<PmetReportFile> writePmetReportFile(const std::string& fileName);

}  // namespace verada
