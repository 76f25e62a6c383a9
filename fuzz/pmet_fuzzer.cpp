// libFuzzer target for the PMET reader and its report: whatever the record holds, the report
// has its fixed lines, each ending in "\r\n".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formats/io/byte_reader.h"
#include "formats/pmet/pmet_report.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    verada::ByteReader input(data, size);
    verada::PmetRecord record;
    if (!verada::readPmetRecord(input, record)) {
        return 0;
    }
    const std::string report = verada::formatPmetReport(record);
    const std::string last = "TGI 04:        ";
    const std::size_t lastLine = report.rfind("\r\n" + last);
    if (report.rfind("Alpha PMET contents parser\r\n", 0) != 0 || lastLine == std::string::npos ||
        report.size() != lastLine + 2 + last.size() + 3 * 9 - 1 + 2) {
        std::abort();
    }
    return 0;
}
