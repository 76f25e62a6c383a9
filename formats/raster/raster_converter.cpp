#include "formats/raster/raster_converter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <new>
#include <vector>

#include "formats/io/atomic_file.h"
#include "formats/io/byte_reader.h"
#include "formats/io/byte_writer.h"
#include "formats/io/file.h"
#include "formats/io/path.h"
#include "formats/io/printf_text.h"

namespace verada {
namespace {

constexpr std::size_t kRasterHeaderSize = 24;
constexpr std::uint32_t kRasterVersion = 1;
constexpr std::uint32_t kPixelBitSize = 8;
constexpr std::uint32_t kMaxMipLevels = 16;
constexpr std::uint32_t kFormatArgb = 21;
constexpr std::uint32_t kFormatDxt3 = 0x33545844;
constexpr std::uint32_t kFormatDxt5 = 0x35545844;
constexpr std::uint32_t kMaxSide = 16384;
constexpr std::size_t kDdsHeaderSize = 124;
constexpr std::size_t kReadChunk = 1 << 20;

constexpr const char* kOpenInputFailed = "Failed to open input file %s.\r\n";
constexpr const char* kShortHeader = "ERR: Only read %d of %d header bytes.";
constexpr const char* kBadVersion =
    "ERR: Unrecognized version %d specified, only version %d implemented.";
constexpr const char* kBadPixelSize = "ERR: Pixel bit size %d specified, only size %d implemented.";
constexpr const char* kTooManyMips =
    "ERR: MipMap count %d specified, only %d and less implemented.";
constexpr const char* kBadFormat = "ERR: Unknown/unimplemented compression format %08X specified.";
constexpr const char* kBadSize = "ERR: Specified size %08X not an in-limit power-of-two value.";
constexpr const char* kNoBuffer = "ERR: Unable to allocate required %d byte buffer.";
constexpr const char* kShortData = "ERR: File read error, only %d of %d bytes read.";
constexpr const char* kOpenOutputFailed = "ERR: Output file %s unable to be opened.";
constexpr const char* kShortWrite = "ERR: File write error, only %d of %d bytes written.";
constexpr const char* kConverted = "%s converted, no error.";

// Messages print the raw 32-bit values with "%d", as the game's tools always have.
int asPrinted(std::uint32_t value) {
    return static_cast<int>(value);
}

ByteWriter ddsHeader(std::uint32_t format, std::uint32_t side, std::uint32_t byteSize) {
    bool compressed = format != kFormatArgb;
    ByteWriter header;
    header.u32(kDdsHeaderSize);
    header.u32(compressed ? 0x1007u | 0x80000u : 0x1007u);
    header.u32(compressed ? 2 * side : side).u32(compressed ? 2 * side : side);
    header.u32(compressed ? byteSize : 0).zeros(52);
    // The pixel format: compressed levels name their FourCC, ARGB gives its masks.
    header.u32(32).u32(compressed ? 0x4u : 0x41u);
    if (compressed) {
        header.u32(format).zeros(20);
    } else {
        header.u32(0).u32(32).u32(0x00FF0000u).u32(0x0000FF00u).u32(0x000000FFu).u32(0xFF000000u);
    }
    header.u32(0x1000).zeros(16);
    return header;
}

// The side b for which 4 x b x b bytes hold the level, b a power of two up to kMaxSide.
std::optional<std::uint32_t> findSide(std::uint32_t byteSize) {
    for (std::uint64_t side = 1; side <= kMaxSide; side *= 2) {
        if (4 * side * side == byteSize) {
            return static_cast<std::uint32_t>(side);
        }
    }
    return std::nullopt;
}

// Grows the buffer only as far as the file really has data, so a hostile size cannot make us
// allocate a gigabyte for a few bytes of input.
Status readLevel(std::FILE* input, std::uint32_t byteSize, std::vector<unsigned char>& data) {
    try {
        data.reserve(std::min<std::size_t>(byteSize, kReadChunk));
        while (data.size() < byteSize) {
            std::size_t chunk = std::min<std::size_t>(byteSize - data.size(), kReadChunk);
            std::size_t start = data.size();
            data.resize(start + chunk);
            std::size_t got = std::fread(data.data() + start, 1, chunk, input);
            if (got < chunk) {
                return fail(
                    printfText(kShortData, static_cast<int>(start + got), asPrinted(byteSize)));
            }
        }
    } catch (const std::bad_alloc&) {
        return fail(printfText(kNoBuffer, asPrinted(byteSize)));
    }
    return {};
}

// Unbuffered, so that a short write reports how many bytes really reached the file.
Status writeDds(const std::string& outputName, const ByteWriter& header,
                const std::vector<unsigned char>& data) {
    AtomicFile output(outputName);
    if (!output.isOpen()) {
        return failWriting(outputName, printfText(kOpenOutputFailed, outputName.c_str()));
    }
    std::setvbuf(output.stream(), nullptr, _IONBF, 0);
    static constexpr std::uint8_t kMagic[4] = {'D', 'D', 'S', ' '};
    for (const auto& [bytes, size] :
         {std::pair(kMagic, sizeof kMagic), std::pair(header.data(), header.size()),
          std::pair(data.data(), data.size())}) {
        std::size_t written = output.write(bytes, size);
        if (written < size) {
            return failWriting(outputName, printfText(kShortWrite, static_cast<int>(written),
                                                      static_cast<int>(size)));
        }
    }
    if (!output.commit()) {
        return failWriting(outputName, printfText(kOpenOutputFailed, outputName.c_str()));
    }
    return {};
}

}  // namespace

std::string ddsOutputName(const std::string& fileName, int level) {
    return printfText("%s-mm%02d.dds", pathWithoutExtension(fileName).c_str(), level);
}

Result<std::string> convertRasterFile(const std::string& fileName) {
    File input = File::open(fileName, "rb");
    if (!input) {
        return fail(printfText(kOpenInputFailed, fileName.c_str()));
    }

    std::uint8_t headerBytes[kRasterHeaderSize + 4];
    std::size_t got = std::fread(headerBytes, 1, kRasterHeaderSize, input.get());
    if (got < kRasterHeaderSize) {
        return fail(
            printfText(kShortHeader, static_cast<int>(got), static_cast<int>(kRasterHeaderSize)));
    }
    std::uint32_t words[6] = {};
    ByteReader header(headerBytes, kRasterHeaderSize);
    for (std::uint32_t& word : words) {
        header.readU32(word);
    }
    const std::uint32_t version = words[0];
    const std::uint32_t mipLevels = words[3];
    const std::uint32_t pixelBits = words[4];
    const std::uint32_t format = words[5];
    if (version != kRasterVersion) {
        return fail(printfText(kBadVersion, asPrinted(version), asPrinted(kRasterVersion)));
    }
    if (pixelBits != kPixelBitSize) {
        return fail(printfText(kBadPixelSize, asPrinted(pixelBits), asPrinted(kPixelBitSize)));
    }
    if (mipLevels > kMaxMipLevels) {
        return fail(printfText(kTooManyMips, asPrinted(mipLevels), asPrinted(kMaxMipLevels)));
    }
    if (format != kFormatArgb && format != kFormatDxt3 && format != kFormatDxt5) {
        return fail(printfText(kBadFormat, format));
    }

    // Only level 0 is converted, whatever the level count says.
    std::uint32_t byteSize = 0;
    got = std::fread(headerBytes, 1, 4, input.get());
    if (ByteReader sizeField(headerBytes, got); !sizeField.readU32(byteSize)) {
        return fail(kFileReadError);
    }
    std::optional<std::uint32_t> side = findSide(byteSize);
    if (!side) {
        return fail(printfText(kBadSize, byteSize));
    }
    std::vector<unsigned char> data;
    if (Status read = readLevel(input.get(), byteSize, data); !read) {
        return read.failure();
    }
    input.close();
    Status written = writeDds(ddsOutputName(fileName, 0), ddsHeader(format, *side, byteSize), data);
    if (!written) {
        return written.failure();
    }
    return printfText(kConverted, fileName.c_str());
}

}  // namespace verada
