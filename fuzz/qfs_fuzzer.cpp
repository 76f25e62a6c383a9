// libFuzzer target for QFS (RefPack). The input as a stream: the decoder, with its unchecked
// fast path, must agree with the simplest possible decoder below, byte for byte and error for
// error. The input as data: compressing it and expanding the stream must give it back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "formats/package/qfs_compressor.h"
#include "formats/package/qfs_decompressor.h"

namespace {

// Expanded sizes beyond this are not tried: the stream's own size field can ask for 16 MiB.
constexpr std::size_t kMaxOutput = 1u << 22;

// One code at a time and one byte at a time, into an output that grows as needed, so that an
// overrun shows as a size and never as a write.
std::optional<std::string> decodeByteByByte(const std::uint8_t* in, std::size_t size,
                                            std::size_t outputSize,
                                            std::vector<std::uint8_t>& out) {
    if (size < 5) {
        return std::string(verada::kQfsSourceOverrun);
    }
    for (std::size_t s = 5; s < size;) {
        const unsigned b0 = in[s];
        const std::size_t codeSize = b0 < 0x80 ? 2 : b0 < 0xC0 ? 3 : b0 < 0xE0 ? 4 : 1;
        if (size - s < codeSize) {
            return std::string(verada::kQfsSourceOverrun);
        }
        const unsigned b1 = codeSize > 1 ? in[s + 1] : 0;
        const unsigned b2 = codeSize > 2 ? in[s + 2] : 0;
        const unsigned b3 = codeSize > 3 ? in[s + 3] : 0;
        std::size_t literals = 0;
        std::size_t length = 0;
        std::size_t distance = 0;
        if (b0 < 0x80) {  // 0DDRRRPP DDDDDDDD
            literals = b0 & 3;
            length = ((b0 >> 2) & 7) + 3;
            distance = ((b0 >> 5) << 8 | b1) + 1;
        } else if (b0 < 0xC0) {  // 10RRRRRR PPDDDDDD DDDDDDDD
            literals = b1 >> 6;
            length = (b0 & 0x3F) + 4;
            distance = ((b1 & 0x3F) << 8 | b2) + 1;
        } else if (b0 < 0xE0) {  // 110DRRPP DDDDDDDD DDDDDDDD RRRRRRRR
            literals = b0 & 3;
            length = (((b0 >> 2) & 3) << 8 | b3) + 5;
            distance = (((b0 >> 4) & 1) << 16 | b1 << 8 | b2) + 1;
        } else if (b0 < 0xFC) {  // 111PPPPP: literals only
            literals = ((b0 & 0x1F) + 1) * 4;
        } else {  // 111111PP: the end code, which decoding does not stop at
            literals = b0 & 3;
        }
        s += codeSize;
        if (size - s < literals) {
            return std::string(verada::kQfsSourceOverrun);
        }
        for (std::size_t i = 0; i < literals; ++i) {
            out.push_back(in[s++]);
        }
        if (length > 0) {
            if (distance > out.size()) {
                return std::string(verada::kQfsReachBeforeStart);
            }
            for (std::size_t i = 0; i < length; ++i) {
                out.push_back(out[out.size() - distance]);
            }
        }
    }
    if (out.size() > outputSize) {
        return std::string(verada::kQfsDestinationOverrun);
    }
    if (out.size() < outputSize) {
        return std::string(verada::kQfsDestinationUnderrun);
    }
    return std::nullopt;
}

void checkDecoder(const std::uint8_t* data, std::size_t size) {
    const std::size_t declared =
        size >= 5 ? std::size_t{data[2]} << 16 | std::size_t{data[3]} << 8 | data[4] : 0;
    if (declared > kMaxOutput) {
        return;
    }
    std::vector<std::uint8_t> output(declared);
    const std::optional<std::string> error =
        verada::decompressQfs(data, size, output.data(), output.size());
    std::vector<std::uint8_t> expected;
    const std::optional<std::string> expectedError =
        decodeByteByByte(data, size, declared, expected);
    if (error != expectedError || (!error && output != expected)) {
        std::abort();
    }
}

void checkRoundTrip(const std::uint8_t* data, std::size_t size) {
    const std::optional<std::vector<std::uint8_t>> stream = verada::compressQfs(data, size);
    if (!stream) {
        std::abort();
    }
    std::vector<std::uint8_t> back(size);
    if (verada::decompressQfs(stream->data(), stream->size(), back.data(), back.size()) ||
        (size > 0 && std::memcmp(back.data(), data, size) != 0)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkDecoder(data, size);
    checkRoundTrip(data, size);
    return 0;
}
