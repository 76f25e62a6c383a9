#include "formats/io/file.h"

namespace verada {

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path) {
    File file = File::open(path, "rb");
    if (!file) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    // A folder opens but cannot be read.
    if (std::ferror(file.get())) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace verada
