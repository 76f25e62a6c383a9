#include "formats/raster/raster_converter.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>
#include <vector>

#include "formats/io/path_without_extension.h"
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
constexpr const char* kSizeReadError = "ERR: File read error.";
constexpr const char* kBadSize = "ERR: Specified size %08X not an in-limit power-of-two value.";
constexpr const char* kNoBuffer = "ERR: Unable to allocate required %d byte buffer.";
constexpr const char* kShortData = "ERR: File read error, only %d of %d bytes read.";
constexpr const char* kOpenOutputFailed = "ERR: Output file %s unable to be opened.";
constexpr const char* kShortWrite = "ERR: File write error, only %d of %d bytes written.";
constexpr const char* kConverted = "%s converted, no error.";

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::uint32_t readLittleEndian(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void putLittleEndian(unsigned char* bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

// Messages print the raw 32-bit values with "%d", as the game's tools always have.
int asPrinted(std::uint32_t value) {
    return static_cast<int>(value);
}

std::array<unsigned char, kDdsHeaderSize> buildDdsHeader(std::uint32_t format, std::uint32_t side,
                                                         std::uint32_t byteSize) {
    std::array<unsigned char, kDdsHeaderSize> header{};
    auto put = [&header](std::size_t offset, std::uint32_t value) {
        putLittleEndian(header.data() + offset, value);
    };
    bool compressed = format != kFormatArgb;
    put(0, kDdsHeaderSize);
    put(4, compressed ? 0x1007u | 0x80000u : 0x1007u);
    put(8, compressed ? 2 * side : side);
    put(12, compressed ? 2 * side : side);
    put(16, compressed ? byteSize : 0);
    put(72, 32);
    put(76, compressed ? 0x4u : 0x41u);
    put(104, 0x1000);
    if (compressed) {
        put(80, format);
    } else {
        put(84, 32);
        put(88, 0x00FF0000u);
        put(92, 0x0000FF00u);
        put(96, 0x000000FFu);
        put(100, 0xFF000000u);
    }
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
std::optional<std::string> readLevel(std::FILE* input, std::uint32_t byteSize,
                                     std::vector<unsigned char>& data) {
    try {
        data.reserve(std::min<std::size_t>(byteSize, kReadChunk));
        while (data.size() < byteSize) {
            std::size_t chunk = std::min<std::size_t>(byteSize - data.size(), kReadChunk);
            std::size_t start = data.size();
            data.resize(start + chunk);
            std::size_t got = std::fread(data.data() + start, 1, chunk, input);
            if (got < chunk) {
                return printfText(kShortData, static_cast<int>(start + got), asPrinted(byteSize));
            }
        }
    } catch (const std::bad_alloc&) {
        return printfText(kNoBuffer, asPrinted(byteSize));
    }
    return std::nullopt;
}

std::optional<std::string> writeAll(std::FILE* output, const unsigned char* bytes,
                                    std::size_t size) {
    std::size_t written = std::fwrite(bytes, 1, size, output);
    if (written < size) {
        return printfText(kShortWrite, static_cast<int>(written), static_cast<int>(size));
    }
    return std::nullopt;
}

// A fresh file next to the output; an existing file of the same name is never touched.
std::optional<std::string> createTemporary(const std::string& outputName, FileHandle& file) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = outputName + ".tmp" + (attempt ? std::to_string(attempt) : "");
        errno = 0;
        file.reset(std::fopen(name.c_str(), "wbx"));
        if (file) {
            return name;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return std::nullopt;
}

std::optional<std::string> writeDds(const std::string& outputName, std::uint32_t format,
                                    std::uint32_t side, const std::vector<unsigned char>& data) {
    FileHandle output;
    std::optional<std::string> temporary = createTemporary(outputName, output);
    if (!temporary) {
        return printfText(kOpenOutputFailed, outputName.c_str());
    }
    // Unbuffered, so a short write reports how many bytes really reached the file.
    std::setvbuf(output.get(), nullptr, _IONBF, 0);
    static constexpr unsigned char kMagic[4] = {'D', 'D', 'S', ' '};
    auto header = buildDdsHeader(format, side, static_cast<std::uint32_t>(data.size()));
    std::optional<std::string> error = writeAll(output.get(), kMagic, sizeof kMagic);
    if (!error) {
        error = writeAll(output.get(), header.data(), header.size());
    }
    if (!error) {
        error = writeAll(output.get(), data.data(), data.size());
    }
    if (std::fclose(output.release()) != 0 && !error) {
        error = printfText(kShortWrite, 0, static_cast<int>(data.size()));
    }
    std::error_code fileError;
    if (!error) {
        std::filesystem::rename(*temporary, outputName, fileError);
        if (fileError) {
            error = printfText(kOpenOutputFailed, outputName.c_str());
        }
    }
    if (error) {
        std::filesystem::remove(*temporary, fileError);
    }
    return error;
}

}  // namespace

std::string ddsOutputName(const std::string& fileName, int level) {
    return printfText("%s-mm%02d.dds", pathWithoutExtension(fileName).c_str(), level);
}

std::optional<std::string> writeDdsFromRaster(const std::string& fileName) {
    FileHandle input(std::fopen(fileName.c_str(), "rb"));
    if (!input) {
        return printfText(kOpenInputFailed, fileName.c_str());
    }

    unsigned char header[kRasterHeaderSize];
    std::size_t got = std::fread(header, 1, sizeof header, input.get());
    if (got < sizeof header) {
        return printfText(kShortHeader, static_cast<int>(got), static_cast<int>(sizeof header));
    }
    std::uint32_t version = readLittleEndian(header);
    std::uint32_t mipLevels = readLittleEndian(header + 12);
    std::uint32_t pixelBits = readLittleEndian(header + 16);
    std::uint32_t format = readLittleEndian(header + 20);
    if (version != kRasterVersion) {
        return printfText(kBadVersion, asPrinted(version), asPrinted(kRasterVersion));
    }
    if (pixelBits != kPixelBitSize) {
        return printfText(kBadPixelSize, asPrinted(pixelBits), asPrinted(kPixelBitSize));
    }
    if (mipLevels > kMaxMipLevels) {
        return printfText(kTooManyMips, asPrinted(mipLevels), asPrinted(kMaxMipLevels));
    }
    if (format != kFormatArgb && format != kFormatDxt3 && format != kFormatDxt5) {
        return printfText(kBadFormat, format);
    }

    // Only level 0 is converted, whatever the level count says.
    unsigned char sizeBytes[4];
    if (std::fread(sizeBytes, 1, sizeof sizeBytes, input.get()) < sizeof sizeBytes) {
        return std::string(kSizeReadError);
    }
    std::uint32_t byteSize = readLittleEndian(sizeBytes);
    std::optional<std::uint32_t> side = findSide(byteSize);
    if (!side) {
        return printfText(kBadSize, byteSize);
    }
    std::vector<unsigned char> data;
    if (std::optional<std::string> error = readLevel(input.get(), byteSize, data)) {
        return error;
    }
    input.reset();
    return writeDds(ddsOutputName(fileName, 0), format, *side, data);
}

std::string rasterConvertedText(const std::string& fileName) {
    return printfText(kConverted, fileName.c_str());
}

std::string convertRasterFile(const std::string& fileName) {
    std::optional<std::string> error = writeDdsFromRaster(fileName);
    return error ? *error : rasterConvertedText(fileName);
}

}  // namespace verada
