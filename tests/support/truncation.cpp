#include "tests/support/truncation.h"

#include <algorithm>

#include "tests/support/test_paths.h"

namespace verada::test {

std::vector<std::size_t> sweepLengths(std::size_t end, std::size_t head, std::size_t stride,
                                      std::size_t tail) {
    std::vector<std::size_t> lengths;
    for (std::size_t length = 0; length < end; ++length) {
        if (length < head || length + tail >= end || length % stride == 0) {
            lengths.push_back(length);
        }
    }
    return lengths;
}

std::vector<std::uint8_t> prefix(const std::vector<std::uint8_t>& bytes, std::size_t length) {
    return std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + length);
}

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::string content = readFile(path);
    return std::vector<std::uint8_t>(content.begin(), content.end());
}

}  // namespace verada::test
