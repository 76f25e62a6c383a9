#include "formats/package/qfs_decompressor.h"

#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/formats/package/rellabels_streams.h"
#include "tests/support/test_paths.h"

namespace verada {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Decoded {
    std::optional<std::string> error;
    Bytes output;
};

// Every call gets buffers of exactly the given sizes, so the sanitizer sees any stray access.
Decoded decode(const Bytes& input, std::size_t outputSize) {
    Decoded result;
    result.output.assign(outputSize, 0);
    auto in = std::make_unique<std::uint8_t[]>(input.size() ? input.size() : 1);
    std::copy(input.begin(), input.end(), in.get());
    auto out = std::make_unique<std::uint8_t[]>(outputSize ? outputSize : 1);
    std::fill(out.get(), out.get() + (outputSize ? outputSize : 1), 0);
    result.error = decompressQfs(in.get(), input.size(), out.get(), outputSize);
    std::copy(out.get(), out.get() + outputSize, result.output.begin());
    return result;
}

Bytes header(std::size_t size) {
    return {0x10, 0xFB, static_cast<std::uint8_t>(size >> 16), static_cast<std::uint8_t>(size >> 8),
            static_cast<std::uint8_t>(size)};
}

Bytes toBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

const Bytes kWorkedExample = {0x10, 0xFB, 0x00, 0x00, 0x09, 0x0F, 0x02, 0x61, 0x62, 0x63, 0xFC};

TEST(DecompressQfs, WorkedExampleAndSizeMismatches) {
    Decoded exact = decode(kWorkedExample, 9);
    EXPECT_EQ(exact.error, std::nullopt);
    EXPECT_EQ(exact.output, toBytes("abcabcabc"));
    EXPECT_EQ(decode(kWorkedExample, 8).error, kQfsDestinationOverrun);
    EXPECT_EQ(decode(kWorkedExample, 10).error, kQfsDestinationUnderrun);
}

TEST(DecompressQfs, HeaderOnlyStreams) {
    for (std::size_t size = 0; size < 5; ++size) {
        EXPECT_EQ(decode(Bytes(kWorkedExample.begin(), kWorkedExample.begin() + size), 0).error,
                  kQfsSourceOverrun)
            << size;
    }
    EXPECT_EQ(decode(header(0), 0).error, std::nullopt);
    EXPECT_EQ(decode(header(0), 1).error, kQfsDestinationUnderrun);
}

// Literal bytes that make the output long enough for any distance.
Bytes literalPrefix(std::size_t runs) {
    Bytes codes;
    for (std::size_t run = 0; run < runs; ++run) {
        codes.push_back(0xFB);
        for (int i = 0; i < 112; ++i) {
            codes.push_back(static_cast<std::uint8_t>((run * 112 + i) * 7 % 251));
        }
    }
    return codes;
}

struct CodeCase {
    Bytes code;
    std::size_t literals;
    std::size_t length;
    std::size_t distance;
};

TEST(DecompressQfs, EveryCodeFormDecodesItsFields) {
    const std::vector<CodeCase> cases = {
        {{0x00, 0x00}, 0, 3, 1},
        {{0x0F, 0x02}, 3, 6, 3},
        {{0x1C, 0xFF}, 0, 10, 256},
        {{0x7F, 0xFF}, 3, 10, 1024},
        {{0x80, 0x00, 0x00}, 0, 4, 1},
        {{0xBF, 0x3F, 0xFF}, 0, 67, 16384},
        {{0xBF, 0xFF, 0xFF}, 3, 67, 16384},
        {{0xC0, 0x00, 0x00, 0x00}, 0, 5, 1},
        {{0xCC, 0x00, 0x00, 0xFF}, 0, 1028, 1},
        {{0xD0, 0xFF, 0xFF, 0x00}, 0, 5, 131072},
        {{0xDF, 0xFF, 0xFF, 0xFF}, 3, 1028, 131072},
        {{0xCD, 0x00, 0x1F, 0xFF}, 1, 1028, 32},
        {{0xE0}, 4, 0, 0},
        {{0xFB}, 112, 0, 0},
        {{0xFC}, 0, 0, 0},
        {{0xFD}, 1, 0, 0},
        {{0xFF}, 3, 0, 0},
    };
    const Bytes prefixCodes = literalPrefix(1171);
    Bytes prefixOutput;
    for (std::size_t i = 0; i < prefixCodes.size(); i += 113) {
        prefixOutput.insert(prefixOutput.end(), prefixCodes.begin() + i + 1,
                            prefixCodes.begin() + i + 113);
    }
    ASSERT_GE(prefixOutput.size(), 131072u);

    for (const CodeCase& c : cases) {
        Bytes expected = prefixOutput;
        Bytes literals;
        for (std::size_t i = 0; i < c.literals; ++i) {
            literals.push_back(static_cast<std::uint8_t>(0xA0 + i));
        }
        expected.insert(expected.end(), literals.begin(), literals.end());
        for (std::size_t i = 0; i < c.length; ++i) {
            expected.push_back(expected[expected.size() - c.distance]);
        }
        Bytes input = header(expected.size());
        input.insert(input.end(), prefixCodes.begin(), prefixCodes.end());
        input.insert(input.end(), c.code.begin(), c.code.end());
        input.insert(input.end(), literals.begin(), literals.end());

        Decoded result = decode(input, expected.size());
        EXPECT_EQ(result.error, std::nullopt) << std::hex << int(c.code[0]);
        EXPECT_TRUE(result.output == expected) << std::hex << int(c.code[0]);

        // The same code with one literal byte missing reads nothing past the input.
        if (c.literals > 0) {
            input.pop_back();
            EXPECT_EQ(decode(input, expected.size()).error, kQfsSourceOverrun);
        }
    }
}

TEST(DecompressQfs, CodesCutShortOverrunTheSource) {
    const std::vector<Bytes> cuts = {{0x00}, {0x80, 0x00}, {0xC0, 0x00, 0x00}, {0xE0, 1, 2, 3}};
    for (const Bytes& cut : cuts) {
        Bytes input = {0x10, 0xFB, 0, 0, 4, 0xE0, 'a', 'b', 'c', 'd'};
        input.insert(input.end(), cut.begin(), cut.end());
        EXPECT_EQ(decode(input, 4).error, kQfsSourceOverrun) << int(cut[0]);
    }
}

TEST(DecompressQfs, DecodingGoesOnAfterAnEndCode) {
    Bytes input = kWorkedExample;
    input.push_back(0x00);
    input.push_back(0x00);
    Decoded result = decode(input, 12);
    EXPECT_EQ(result.error, std::nullopt);
    EXPECT_EQ(result.output, toBytes("abcabcabcccc"));
}

TEST(DecompressQfs, DecodingGoesOnAfterAnOverrunAndSourceOverrunWins) {
    // The copy passes the end of an 8-byte output; decoding still reads the codes after it.
    Bytes input = {0x10, 0xFB, 0, 0, 8, 0x0F, 0x02, 'a', 'b', 'c', 0xFD, 'z'};
    Decoded result = decode(input, 8);
    EXPECT_EQ(result.error, kQfsDestinationOverrun);
    input.push_back(0x80);
    EXPECT_EQ(decode(input, 8).error, kQfsSourceOverrun);
}

TEST(DecompressQfs, CopyReachingBeforeTheOutputIsRefused) {
    const std::vector<Bytes> codes = {
        {0x00, 0x00},                 // distance 1 with nothing written
        {0x01, 0x01, 'a'},            // distance 2 after one literal
        {0x80, 0x00, 0x04},           // distance 5
        {0xD0, 0xFF, 0xFF, 0x00},     // distance 131072
        {0x03, 0x03, 'a', 'b', 'c'},  // distance 4 after three literals
    };
    for (const Bytes& code : codes) {
        for (std::size_t outputSize : {std::size_t(0), std::size_t(6), std::size_t(200000)}) {
            Bytes input = header(outputSize);
            input.insert(input.end(), code.begin(), code.end());
            EXPECT_EQ(decode(input, outputSize).error, kQfsReachBeforeStart)
                << std::hex << int(code[0]) << " " << outputSize;
        }
    }
}

std::vector<std::filesystem::path> sampleStreams() {
    std::vector<std::filesystem::path> streams;
    for (const auto& entry :
         std::filesystem::directory_iterator(test::samplePath("qfs/extracted"))) {
        if (entry.path().extension() == ".qfs") {
            streams.push_back(entry.path());
        }
    }
    return streams;
}

TEST(DecompressQfs, RealStreamsDecodeToTheirExpectedBytes) {
    std::vector<std::filesystem::path> streams = sampleStreams();
    ASSERT_EQ(streams.size(), 6u);
    for (const std::filesystem::path& path : streams) {
        Bytes input = toBytes(test::readFile(path));
        std::filesystem::path expectedPath = path;
        expectedPath.replace_extension(".expected.bin");
        Bytes expected = toBytes(test::readFile(expectedPath));
        ASSERT_FALSE(expected.empty()) << expectedPath;
        Decoded result = decode(input, expected.size());
        EXPECT_EQ(result.error, std::nullopt) << path;
        EXPECT_TRUE(result.output == expected) << path;
    }
}

TEST(DecompressQfs, EveryPrefixOfARealStreamFailsCleanly) {
    for (const std::filesystem::path& path : sampleStreams()) {
        Bytes input = toBytes(test::readFile(path));
        const std::size_t outputSize = test::qfsStreamSize(test::readFile(path));
        std::filesystem::path expectedPath = path;
        Bytes expected = toBytes(test::readFile(expectedPath.replace_extension(".expected.bin")));
        for (std::size_t size = 0; size < input.size(); ++size) {
            Decoded result = decode(Bytes(input.begin(), input.begin() + size), outputSize);
            if (!result.error) {
                // Only a cut that drops nothing but a bare end code can still be complete.
                EXPECT_EQ(size, input.size() - 1) << path;
                EXPECT_EQ(input.back(), 0xFC) << path;
                EXPECT_TRUE(result.output == expected) << path;
                continue;
            }
            ASSERT_TRUE(*result.error == kQfsSourceOverrun ||
                        *result.error == kQfsDestinationUnderrun)
                << path << " prefix " << size << ": " << *result.error;
        }
    }
}

TEST(DecompressQfs, AllRelLabelsStreamsDecode) {
    std::vector<test::SampleStream> streams = test::relLabelsStreams();
    ASSERT_EQ(streams.size(), 583u);
    for (const test::SampleStream& item : streams) {
        Decoded result = decode(toBytes(item.stream), test::qfsStreamSize(item.stream));
        EXPECT_EQ(result.error, std::nullopt) << "item at " << item.offset;
    }
}

// The rule itself, one byte at a time, as the fast decoder must behave.
Decoded decodeByteAtATime(const Bytes& input, std::size_t outputSize) {
    Decoded result;
    result.output.assign(outputSize, 0);
    if (input.size() < 5) {
        result.error = kQfsSourceOverrun;
        return result;
    }
    std::size_t s = 5;
    std::size_t d = 0;
    while (s < input.size()) {
        std::size_t b0 = input[s];
        std::size_t need = b0 < 0x80 ? 2 : b0 < 0xC0 ? 3 : b0 < 0xE0 ? 4 : 1;
        if (s + need > input.size()) {
            result.error = kQfsSourceOverrun;
            return result;
        }
        std::size_t b1 = need > 1 ? input[s + 1] : 0;
        std::size_t b2 = need > 2 ? input[s + 2] : 0;
        std::size_t b3 = need > 3 ? input[s + 3] : 0;
        std::size_t literals = 0, length = 0, distance = 0;
        if (b0 < 0x80) {
            literals = b0 & 3;
            length = ((b0 >> 2) & 7) + 3;
            distance = ((b0 & 0x60) << 3) + b1 + 1;
        } else if (b0 < 0xC0) {
            literals = b1 >> 6;
            length = (b0 & 0x3F) + 4;
            distance = ((b1 & 0x3F) << 8) + b2 + 1;
        } else if (b0 < 0xE0) {
            literals = b0 & 3;
            length = ((b0 & 0x0C) << 6) + b3 + 5;
            distance = ((b0 & 0x10) << 12) + (b1 << 8) + b2 + 1;
        } else if (b0 < 0xFC) {
            literals = ((b0 & 0x1F) + 1) * 4;
        } else {
            literals = b0 & 3;
        }
        s += need;
        if (s + literals > input.size()) {
            result.error = kQfsSourceOverrun;
            return result;
        }
        for (std::size_t i = 0; i < literals && d + literals <= outputSize; ++i) {
            result.output[d + i] = input[s + i];
        }
        s += literals;
        d += literals;
        if (length > 0) {
            if (distance > d) {
                result.error = kQfsReachBeforeStart;
                return result;
            }
            for (std::size_t i = 0; i < length && d + length <= outputSize; ++i) {
                result.output[d + i] = result.output[d - distance + i];
            }
            d += length;
        }
    }
    if (d > outputSize) {
        result.error = kQfsDestinationOverrun;
    } else if (d < outputSize) {
        result.error = kQfsDestinationUnderrun;
    }
    return result;
}

// Random code sequences with short and long, overlapping and separate copies; the fast block
// copies must give the bytes of the one-at-a-time rule, and the same verdict.
TEST(DecompressQfs, FastCopiesMatchTheByteAtATimeRule) {
    std::mt19937 random(20261207);
    auto pick = [&random](std::size_t limit) {
        return std::uniform_int_distribution<std::size_t>(0, limit)(random);
    };
    for (int round = 0; round < 600; ++round) {
        Bytes input = header(0);
        std::size_t produced = 0;
        const int codes = 1 + static_cast<int>(pick(60));
        for (int c = 0; c < codes; ++c) {
            std::size_t literals = 0;
            std::size_t form = pick(9);
            if (produced == 0 || form >= 7) {
                std::size_t run = pick(0x1B);
                input.push_back(static_cast<std::uint8_t>(0xE0 + run));
                literals = (run + 1) * 4;
            } else {
                literals = pick(3);
                std::size_t reach = produced + literals;
                std::size_t distance = 1 + pick(std::min<std::size_t>(reach, 40) - 1);
                if (pick(3) == 0) {
                    distance = 1 + pick(reach - 1);
                }
                if (pick(50) == 0) {
                    distance = reach + 1;  // occasionally reach before the start
                }
                std::size_t d = distance - 1;
                if (form <= 2 && distance <= 1024) {
                    std::size_t length = 3 + pick(7);
                    input.push_back(static_cast<std::uint8_t>(((d >> 8) << 5) |
                                                              ((length - 3) << 2) | literals));
                    input.push_back(static_cast<std::uint8_t>(d));
                    produced += length;
                } else if (form <= 4 && distance <= 16384) {
                    std::size_t length = 4 + pick(63);
                    input.push_back(static_cast<std::uint8_t>(0x80 + (length - 4)));
                    input.push_back(static_cast<std::uint8_t>((literals << 6) | (d >> 8)));
                    input.push_back(static_cast<std::uint8_t>(d));
                    produced += length;
                } else {
                    std::size_t length = 5 + pick(1023);
                    input.push_back(static_cast<std::uint8_t>(
                        0xC0 | ((d >> 16) << 4) | (((length - 5) >> 8) << 2) | literals));
                    input.push_back(static_cast<std::uint8_t>(d >> 8));
                    input.push_back(static_cast<std::uint8_t>(d));
                    input.push_back(static_cast<std::uint8_t>(length - 5));
                    produced += length;
                }
            }
            for (std::size_t i = 0; i < literals; ++i) {
                input.push_back(static_cast<std::uint8_t>(pick(255)));
            }
            produced += literals;
        }
        for (std::size_t outputSize :
             {produced, produced + 1, produced > 0 ? produced - 1 : 0, produced / 2}) {
            Decoded fast = decode(input, outputSize);
            Decoded reference = decodeByteAtATime(input, outputSize);
            ASSERT_EQ(fast.error, reference.error) << "round " << round;
            if (!fast.error) {
                ASSERT_TRUE(fast.output == reference.output) << "round " << round;
            }
        }
    }
}

}  // namespace
}  // namespace verada
