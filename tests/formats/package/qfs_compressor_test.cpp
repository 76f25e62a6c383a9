#include "formats/package/qfs_compressor.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "formats/package/qfs_decompressor.h"
#include "tests/formats/package/qfs_sample_data.h"

namespace verada {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Inputs sit in allocations of exactly their size, so the sanitizer sees any read past them.
std::optional<Bytes> compress(const std::string& input) {
    const Bytes data(input.begin(), input.end());
    return compressQfs(data.data(), data.size());
}

// Which code forms a stream uses, read back the way the format defines them.
struct Forms {
    std::set<std::string> used;
    std::pair<std::size_t, std::size_t> farthest;  // distance and length of the farthest copy
    bool endCodeOnlyLast = true;
};

void readForms(const Bytes& stream, Forms& forms) {
    for (std::size_t s = 5; s < stream.size();) {
        const unsigned b0 = stream[s];
        std::size_t literals = b0 & 3;
        if (b0 < 0x80) {
            forms.used.insert("2-byte copy");
            s += 2;
        } else if (b0 < 0xC0) {
            forms.used.insert("3-byte copy");
            literals = stream.at(s + 1) >> 6;
            s += 3;
        } else if (b0 < 0xE0) {
            forms.used.insert("4-byte copy");
            const std::size_t distance =
                ((b0 & 0x10) << 12) + (stream.at(s + 1) << 8) + stream.at(s + 2) + 1;
            const std::size_t length = ((b0 & 0x0C) << 6) + stream.at(s + 3) + 5;
            forms.farthest = std::max(forms.farthest, std::make_pair(distance, length));
            s += 4;
        } else {
            forms.used.insert(b0 < 0xFC ? "literal run"
                                        : "end code with " + std::to_string(literals));
            literals = b0 < 0xFC ? ((b0 & 0x1F) + 1) * 4 : literals;
            forms.endCodeOnlyLast &= b0 < 0xFC || s + 1 + literals == stream.size();
            s += 1;
        }
        s += literals;
    }
}

TEST(CompressQfs, EveryInputComesBackThroughOurDecoder) {
    Forms forms;
    for (const test::NamedBytes& input : test::compressorInputs()) {
        const std::optional<Bytes> stream = compress(input.bytes);
        ASSERT_TRUE(stream) << input.name;
        const std::size_t size = input.bytes.size();
        const Bytes header = {0x10, 0xFB, static_cast<std::uint8_t>(size >> 16),
                              static_cast<std::uint8_t>(size >> 8),
                              static_cast<std::uint8_t>(size)};
        ASSERT_GE(stream->size(), 6u) << input.name;
        EXPECT_TRUE(std::equal(header.begin(), header.end(), stream->begin())) << input.name;

        Bytes output(size);  // no buffer at all for the empty input
        EXPECT_EQ(decompressQfs(stream->data(), stream->size(), output.data(), size), std::nullopt)
            << input.name;
        EXPECT_EQ(std::string(output.begin(), output.end()), input.bytes) << input.name;
        readForms(*stream, forms);
        EXPECT_TRUE(forms.endCodeOnlyLast) << input.name;
    }
    EXPECT_EQ(forms.used,
              (std::set<std::string>{"2-byte copy", "3-byte copy", "4-byte copy", "literal run",
                                     "end code with 0", "end code with 1", "end code with 2",
                                     "end code with 3"}));
    EXPECT_EQ(forms.farthest, std::make_pair(std::size_t(131072), std::size_t(1028)));
}

// One compressor through inputs of every size, tables kept between them, gives the streams of
// a fresh one.
TEST(CompressQfs, AReusedCompressorGivesTheSameStreams) {
    QfsCompressor reused;
    std::vector<test::NamedBytes> inputs = test::compressorInputs();
    std::mt19937 random(3);
    inputs.push_back({"noise after text", test::randomData(70000, random)});
    for (const test::NamedBytes& input : inputs) {
        const Bytes data(input.bytes.begin(), input.bytes.end());
        EXPECT_EQ(reused.compress(data.data(), data.size()), compress(input.bytes)) << input.name;
    }
}

TEST(CompressQfs, TextShrinksAndNoiseGrowsOnlyByItsRunCodes) {
    std::mt19937 random(7);
    const std::string text = test::textData(100000, random);
    EXPECT_LT(compress(text)->size(), text.size() / 4);
    const std::string noise = test::randomData(100000, random);
    EXPECT_LE(compress(noise)->size(), 5 + noise.size() + (noise.size() + 111) / 112 + 1);
}

TEST(CompressQfs, OnlySizesThatFitTheHeaderGetAStream) {
    const std::optional<Bytes> largest = compress(std::string(0xFFFFFF, 'z'));
    ASSERT_TRUE(largest);
    EXPECT_EQ(Bytes(largest->begin(), largest->begin() + 5), (Bytes{0x10, 0xFB, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(compress(std::string(0x1000000, 'z')), std::nullopt);
}

}  // namespace
}  // namespace verada
