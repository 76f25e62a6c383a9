// libFuzzer target for the raster converter: a file it converts gives a DDS file of the
// header's size holding exactly the level's bytes, and nothing else is written.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "formats/io/file.h"
#include "formats/raster/raster_converter.h"
#include "fuzz/scratch_folder.h"

namespace {

constexpr std::size_t kRasterHeaderSize = 24 + 4;  // six words, then the level's byte size
constexpr std::size_t kDdsHeaderSize = 4 + 124;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    const fs::path raster = verada::fuzz::writeInput("input.rast", data, size);
    const fs::path dds = verada::ddsOutputName(raster.string(), 0);
    const verada::Result<std::string> converted = verada::convertRasterFile(raster.string());
    std::size_t files = 0;
    for (auto it = fs::directory_iterator(raster.parent_path()); it != fs::directory_iterator();
         ++it) {
        ++files;
    }
    if (files != (converted ? 2u : 1u)) {
        std::abort();
    }
    if (converted) {
        const std::uint32_t levelSize =
            data[24] | data[25] << 8 | data[26] << 16 | static_cast<std::uint32_t>(data[27]) << 24;
        std::optional<std::vector<std::uint8_t>> written = verada::readWholeFile(dds.string());
        if (!written || written->size() != kDdsHeaderSize + levelSize ||
            !std::equal(written->begin() + kDdsHeaderSize, written->end(),
                        data + kRasterHeaderSize)) {
            std::abort();
        }
    }
    return 0;
}
