#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/test_paths.h"

namespace verada::test {

struct SampleStream {
    std::uint32_t offset;  // of the item in the package
    std::string stream;    // "10 FB", 24-bit size, codes
};

inline std::uint32_t sampleLe32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<std::uint8_t>(bytes.at(at + i));
    }
    return value;
}

// The QFS streams of RelLabels.package, a Sims 2 package (DBPF 1.1, index 7.2 with 24-byte
// entries) whose compressed items carry a 4-byte size word before the stream.
inline std::vector<SampleStream> relLabelsStreams() {
    const std::string package = readFile(samplePath("qfs/sims2-simpe/RelLabels.package"));
    const std::uint32_t count = sampleLe32(package, 36);
    const std::uint32_t indexOffset = sampleLe32(package, 40);
    std::vector<SampleStream> streams;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = indexOffset + 24 * static_cast<std::size_t>(i);
        const std::uint32_t offset = sampleLe32(package, entry + 16);
        const std::uint32_t size = sampleLe32(package, entry + 20);
        const std::string item = package.substr(offset, size);
        if (item.size() > 6 && static_cast<std::uint8_t>(item[4]) == 0x10 &&
            static_cast<std::uint8_t>(item[5]) == 0xFB) {
            streams.push_back({offset, item.substr(4)});
        }
    }
    return streams;
}

inline std::size_t qfsStreamSize(const std::string& stream) {
    return static_cast<std::size_t>(static_cast<std::uint8_t>(stream[2])) << 16 |
           static_cast<std::size_t>(static_cast<std::uint8_t>(stream[3])) << 8 |
           static_cast<std::uint8_t>(stream[4]);
}

}  // namespace verada::test
