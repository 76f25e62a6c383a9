#include "formats/raster/raster_converter.h"

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/result_text.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

constexpr std::uint32_t kArgb = 21;
constexpr std::uint32_t kDxt3 = 0x33545844;
constexpr std::uint32_t kDxt5 = 0x35545844;

std::string u32(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>(value >> (8 * i));
    }
    return bytes;
}

struct RasterHeader {
    std::uint32_t version = 1;
    std::uint32_t mipLevels = 1;
    std::uint32_t pixelBits = 8;
    std::uint32_t format = kDxt5;
};

std::string header(const RasterHeader& h) {
    return u32(h.version) + u32(0x11111111) + u32(0x22222222) + u32(h.mipLevels) +
           u32(h.pixelBits) + u32(h.format);
}

std::string pattern(std::size_t size) {
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = static_cast<char>(i * 7 + 3);
    }
    return data;
}

// A raster with level 0 of the given size plus a second level that must not be converted.
std::string raster(const RasterHeader& h, std::uint32_t levelSize) {
    return header(h) + u32(levelSize) + pattern(levelSize) + u32(4) + "next";
}

std::set<std::string> filesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Runs ImageMagick's identify on a file and returns what it printed.
std::string identify(const std::string& format, const std::filesystem::path& file) {
    std::string command = "identify -format '" + format + "' '" + file.string() + "' 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return "popen failed";
    }
    std::string output;
    char buffer[256];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) {
        output.append(buffer, got);
    }
    pclose(pipe);
    return output;
}

class RasterConverter : public ::testing::Test {
  protected:
    RasterConverter() { std::filesystem::current_path(dir_.path()); }
    TempDir dir_;
};

struct HeaderCase {
    std::uint32_t format;
    std::uint32_t levelSize;
    std::uint32_t words[32];  // "DDS " and the 124-byte header as little-endian words
};

TEST_F(RasterConverter, WritesExactDdsHeaderAndLevelZeroData) {
    const HeaderCase cases[] = {
        {kArgb, 65536, {0x20534444, 124,        0x1007,     128,    128,  0, 0,  0,
                        0,          0,          0,          0,      0,    0, 0,  0,
                        0,          0,          0,          32,     0x41, 0, 32, 0x00FF0000,
                        0x0000FF00, 0x000000FF, 0xFF000000, 0x1000, 0,    0, 0,  0}},
        {kDxt5, 65536, {0x20534444, 124, 0x81007, 256, 256, 65536,  0, 0, 0,  0,   0,
                        0,          0,   0,       0,   0,   0,      0, 0, 32, 0x4, kDxt5,
                        0,          0,   0,       0,   0,   0x1000, 0, 0, 0,  0}},
        {kDxt3, 16, {0x20534444, 124, 0x81007, 4,  4,   16,    0, 0, 0, 0, 0, 0,      0, 0, 0, 0,
                     0,          0,   0,       32, 0x4, kDxt3, 0, 0, 0, 0, 0, 0x1000, 0, 0, 0, 0}},
    };
    for (const HeaderCase& c : cases) {
        RasterHeader h;
        h.format = c.format;
        writeFile("tree.rast", raster(h, c.levelSize));
        EXPECT_EQ(test::shown(convertRasterFile("tree.rast")), "tree.rast converted, no error.");
        std::string expected;
        for (std::uint32_t word : c.words) {
            expected += u32(word);
        }
        std::string dds = readFile("tree-mm00.dds");
        ASSERT_EQ(dds.size(), 128u + c.levelSize) << std::hex << c.format;
        EXPECT_EQ(dds.substr(0, 128), expected) << std::hex << c.format;
        EXPECT_EQ(dds.substr(128), pattern(c.levelSize)) << std::hex << c.format;
    }
}

TEST_F(RasterConverter, ImageMagickReadsCompressedOutput) {
    struct Case {
        std::uint32_t format;
        std::uint32_t levelSize;
        const char* expected;
    };
    const Case cases[] = {
        {kDxt5, 65536, "256 256 DDS DXT5"},
        {kDxt3, 1024, "32 32 DDS DXT3"},
    };
    for (const Case& c : cases) {
        RasterHeader h;
        h.format = c.format;
        writeFile("tree.rast", raster(h, c.levelSize));
        ASSERT_EQ(test::errorOf(convertRasterFile("tree.rast")), std::nullopt);
        EXPECT_EQ(identify("%w %h %m %[compression]", dir_ / "tree-mm00.dds"), c.expected);
    }
}

TEST_F(RasterConverter, ImageMagickReadsArgbPixels) {
    // 2 x 2 pixels stored as little-endian 0xAARRGGBB words.
    RasterHeader h;
    h.format = kArgb;
    writeFile("argb.rast", header(h) + u32(16) + u32(0x80FF0000) + u32(0xFF00FF00) +
                               u32(0x400000FF) + u32(0xFF123456));
    ASSERT_EQ(test::errorOf(convertRasterFile("argb.rast")), std::nullopt);
    std::string format = "%w %h %m";
    for (const char* p : {"p{0,0}", "p{1,0}", "p{0,1}", "p{1,1}"}) {
        format += " ";
        for (const char* channel : {"r", "g", "b", "a"}) {
            format += std::string("%[fx:round(255*") + p + "." + channel + ")]" +
                      (*channel == 'a' ? "" : ",");
        }
    }
    EXPECT_EQ(identify(format, dir_ / "argb-mm00.dds"),
              "2 2 DDS 255,0,0,128 0,255,0,255 0,0,255,64 18,52,86,255");
}

TEST_F(RasterConverter, LevelSizeMustBeFourTimesASquaredPowerOfTwo) {
    struct Case {
        std::uint32_t levelSize;
        const char* result;
    };
    const Case cases[] = {
        {4, "tree.rast converted, no error."},
        {16, "tree.rast converted, no error."},
        {4096, "tree.rast converted, no error."},
        {0, "ERR: Specified size 00000000 not an in-limit power-of-two value."},
        {8, "ERR: Specified size 00000008 not an in-limit power-of-two value."},
        {48, "ERR: Specified size 00000030 not an in-limit power-of-two value."},
        {0x80000000u, "ERR: Specified size 80000000 not an in-limit power-of-two value."},
        {0xFFFFFFFFu, "ERR: Specified size FFFFFFFF not an in-limit power-of-two value."},
    };
    for (const Case& c : cases) {
        std::filesystem::remove("tree-mm00.dds");
        RasterHeader h;
        // Only the size is written for rejected sizes: no data is needed to reject them.
        bool accepted = c.result[0] != 'E';
        writeFile("tree.rast", accepted ? raster(h, c.levelSize) : header(h) + u32(c.levelSize));
        EXPECT_EQ(test::shown(convertRasterFile("tree.rast")), c.result) << c.levelSize;
        EXPECT_EQ(std::filesystem::exists("tree-mm00.dds"), accepted) << c.levelSize;
    }
}

TEST_F(RasterConverter, LargestSideIsAcceptedWithoutAllocatingForMissingData) {
    RasterHeader h;
    writeFile("tree.rast", header(h) + u32(0x40000000) + "abcd");
    EXPECT_EQ(test::shown(convertRasterFile("tree.rast")),
              "ERR: File read error, only 4 of 1073741824 bytes read.");
    EXPECT_EQ(filesIn(dir_.path()), (std::set<std::string>{"tree.rast"}));
}

TEST_F(RasterConverter, MipLevelCountIsCheckedButOnlyLevelZeroIsWritten) {
    struct Case {
        std::uint32_t mipLevels;
        const char* result;
    };
    const Case cases[] = {
        {0, "tree.rast converted, no error."},
        {1, "tree.rast converted, no error."},
        {16, "tree.rast converted, no error."},
        {17, "ERR: MipMap count 17 specified, only 16 and less implemented."},
        {0xFFFFFFFFu, "ERR: MipMap count -1 specified, only 16 and less implemented."},
    };
    for (const Case& c : cases) {
        std::filesystem::remove("tree-mm00.dds");
        RasterHeader h;
        h.mipLevels = c.mipLevels;
        writeFile("tree.rast", raster(h, 64));
        EXPECT_EQ(test::shown(convertRasterFile("tree.rast")), c.result) << c.mipLevels;
        std::set<std::string> expected{"tree.rast"};
        if (c.result[0] != 'E') {
            expected.insert("tree-mm00.dds");
        }
        EXPECT_EQ(filesIn(dir_.path()), expected) << c.mipLevels;
    }
}

TEST_F(RasterConverter, HeaderErrorsInCheckingOrder) {
    auto with = [](std::uint32_t version, std::uint32_t mips, std::uint32_t bits,
                   std::uint32_t format) {
        RasterHeader h{version, mips, bits, format};
        return raster(h, 16);
    };
    struct Case {
        std::string content;
        const char* result;
    };
    const Case cases[] = {
        {"", "ERR: Only read 0 of 24 header bytes."},
        {with(1, 1, 8, kDxt5).substr(0, 23), "ERR: Only read 23 of 24 header bytes."},
        {with(2, 1, 8, kDxt5),
         "ERR: Unrecognized version 2 specified, only version 1 implemented."},
        {with(0xFFFFFFFFu, 1, 8, kDxt5),
         "ERR: Unrecognized version -1 specified, only version 1 implemented."},
        {with(2, 17, 16, 7), "ERR: Unrecognized version 2 specified, only version 1 implemented."},
        {with(1, 17, 16, 7), "ERR: Pixel bit size 16 specified, only size 8 implemented."},
        {with(1, 17, 8, 7), "ERR: MipMap count 17 specified, only 16 and less implemented."},
        {with(1, 1, 8, 0x31545844),
         "ERR: Unknown/unimplemented compression format 31545844 specified."},
        {with(1, 1, 8, 0), "ERR: Unknown/unimplemented compression format 00000000 specified."},
        {header({}), "ERR: File read error."},
        {header({}) + "\x10", "ERR: File read error."},
        {header({}) + u32(64) + pattern(10), "ERR: File read error, only 10 of 64 bytes read."},
    };
    for (const Case& c : cases) {
        writeFile("tree.rast", c.content);
        EXPECT_EQ(test::shown(convertRasterFile("tree.rast")), c.result);
        EXPECT_EQ(filesIn(dir_.path()), (std::set<std::string>{"tree.rast"})) << c.result;
    }
}

TEST_F(RasterConverter, EveryTruncationIsAnError) {
    RasterHeader h;
    h.format = kArgb;
    std::string whole = header(h) + u32(64) + pattern(64);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        writeFile("cut.rast", whole.substr(0, size));
        std::string result = test::shown(convertRasterFile("cut.rast"));
        EXPECT_EQ(result.rfind("ERR: ", 0), 0u) << size << ": " << result;
        EXPECT_FALSE(std::filesystem::exists("cut-mm00.dds")) << size;
    }
}

TEST_F(RasterConverter, MissingInput) {
    EXPECT_EQ(test::shown(convertRasterFile("missing.rast")),
              "Failed to open input file missing.rast.\r\n");
    EXPECT_TRUE(filesIn(dir_.path()).empty());
}

TEST_F(RasterConverter, ConvertingAgainOverwritesTheOutput) {
    RasterHeader h;
    writeFile("tree.rast", raster(h, 64));
    ASSERT_EQ(test::errorOf(convertRasterFile("tree.rast")), std::nullopt);
    writeFile("tree.rast", raster(h, 16));
    ASSERT_EQ(test::errorOf(convertRasterFile("tree.rast")), std::nullopt);
    EXPECT_EQ(readFile("tree-mm00.dds").size(), 128u + 16u);
    EXPECT_EQ(filesIn(dir_.path()), (std::set<std::string>{"tree.rast", "tree-mm00.dds"}));
}

TEST_F(RasterConverter, OutputThatCannotBeReplaced) {
    RasterHeader h;
    writeFile("tree.rast", raster(h, 16));
    std::filesystem::create_directory("tree-mm00.dds");
    writeFile("tree-mm00.dds/keep", "x");
    EXPECT_EQ(test::shown(convertRasterFile("tree.rast")),
              "ERR: Output file tree-mm00.dds unable to be opened.");
    EXPECT_EQ(filesIn(dir_.path()), (std::set<std::string>{"tree.rast", "tree-mm00.dds"}));

    EXPECT_EQ(test::shown(convertRasterFile("tree.rast/x.rast")),
              "Failed to open input file tree.rast/x.rast.\r\n");
}

// A file size limit makes the writes come up short at a chosen byte.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

TEST_F(RasterConverter, FailedWriteKeepsThePreviousOutput) {
    struct Case {
        rlim_t limit;
        const char* result;
    };
    const Case cases[] = {
        {2, "ERR: File write error, only 2 of 4 bytes written."},
        {100, "ERR: File write error, only 96 of 124 bytes written."},
        {138, "ERR: File write error, only 10 of 64 bytes written."},
    };
    RasterHeader h;
    writeFile("tree-mm00.dds", "previous");
    writeFile("tree.rast", raster(h, 64));
    for (const Case& c : cases) {
        std::string result;
        {
            FileSizeLimit limit(c.limit);
            result = test::shown(convertRasterFile("tree.rast"));
        }
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(readFile("tree-mm00.dds"), "previous");
        EXPECT_EQ(filesIn(dir_.path()), (std::set<std::string>{"tree.rast", "tree-mm00.dds"}));
    }
}

TEST_F(RasterConverter, OutputLandsBesideTheInput) {
    std::filesystem::create_directory("in.dir");
    RasterHeader h;
    writeFile("in.dir/tree.rast", raster(h, 16));
    EXPECT_EQ(test::shown(convertRasterFile("in.dir/tree.rast")),
              "in.dir/tree.rast converted, no error.");
    EXPECT_TRUE(std::filesystem::exists("in.dir/tree-mm00.dds"));

    struct Case {
        const char* input;
        int level;
        const char* output;
    };
    const Case cases[] = {
        {"tree.rast", 0, "tree-mm00.dds"},
        {"tree.rast", 7, "tree-mm07.dds"},
        {"x.tar.rast", 0, "x.tar-mm00.dds"},
        {"noext", 0, "noext-mm00.dds"},
        {"a.b/noext", 0, "a.b/noext-mm00.dds"},
        {"/abs/dir/tree.RAST", 12, "/abs/dir/tree-mm12.dds"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ddsOutputName(c.input, c.level), c.output);
    }
}

}  // namespace
}  // namespace verada
