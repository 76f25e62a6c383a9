// Streams made and read by an independent QFS implementation, the npm package qfs-compression
// (installed into tests/peers by scripts/install-test-peers.sh).
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"
#include "tests/formats/package/rellabels_streams.h"
#include "formats/package/qfs_decompressor.h"

namespace verada {
namespace {

namespace fs = std::filesystem;

fs::path peersFolder() {
    const char* source = std::getenv("VERADA_SOURCE_DIR");
    return fs::path(source ? source : ".") / "tests" / "peers";
}

// Runs qfs_peer.js on pairs of files; fails the test when the peer is not installed.
void runPeer(const std::string& mode, const std::vector<std::pair<fs::path, fs::path>>& pairs) {
    const fs::path folder = peersFolder();
    ASSERT_TRUE(fs::exists(folder / "node_modules" / "qfs-compression" / "index.js"))
        << "the npm peer qfs-compression is missing: run scripts/install-test-peers.sh";
    std::string command = "node '" + (folder / "qfs_peer.js").string() + "' " + mode;
    for (const auto& [from, to] : pairs) {
        command += " '" + from.string() + "' '" + to.string() + "'";
    }
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

std::optional<std::string> decodeText(const std::string& stream, std::string& output) {
    output.assign(test::qfsStreamSize(stream), '\0');
    std::vector<std::uint8_t> input(stream.begin(), stream.end());
    return decompressQfs(input.data(), input.size(), reinterpret_cast<std::uint8_t*>(output.data()),
                         output.size());
}

std::string textData(std::size_t size, std::mt19937& random) {
    static const std::vector<std::string> words = {
        "mesh ",  "vertex ",     "normal ", "the ",  "creature ",     "part ", "index\n",
        "Spore ", "0x00E6BCE5 ", "group ",  "bone ", "<prop name=\"", "\">",   "\r\n"};
    std::string text;
    while (text.size() < size) {
        text += words[random() % words.size()];
    }
    text.resize(size);
    return text;
}

std::string binaryData(std::size_t size, std::mt19937& random) {
    // Vertex-like records: slowly changing floats and small indices.
    std::string data;
    float x = 0;
    std::uint16_t index = 0;
    while (data.size() < size) {
        x += static_cast<float>(random() % 100) / 1000.0f;
        data.append(reinterpret_cast<const char*>(&x), sizeof x);
        index = static_cast<std::uint16_t>(index + random() % 3);
        data.append(reinterpret_cast<const char*>(&index), sizeof index);
        data.append(random() % 4 == 0 ? 6 : 2, '\0');
    }
    data.resize(size);
    return data;
}

std::string randomData(std::size_t size, std::mt19937& random) {
    std::string data(size, '\0');
    for (char& c : data) {
        c = static_cast<char>(random());
    }
    return data;
}

TEST(QfsNpmPeer, StreamsCompressedByThePeerDecodeToTheOriginal) {
    test::TempDir dir;
    std::mt19937 random(4);
    const std::vector<std::size_t> sizes = {
        0, 1, 3, 100, 4096, 65543, 200000, 1 << 20, 3 * (1 << 20) + 5};
    std::vector<std::pair<fs::path, fs::path>> pairs;
    std::vector<std::string> originals;
    for (std::size_t size : sizes) {
        for (int kind = 0; kind < 3; ++kind) {
            if (kind == 2 && size > (1 << 20)) {
                continue;  // random data only grows; one MiB of it is enough
            }
            std::string data = kind == 0   ? textData(size, random)
                               : kind == 1 ? binaryData(size, random)
                                           : randomData(size, random);
            const std::string base = std::to_string(originals.size());
            test::writeFile(dir / (base + ".bin"), data);
            pairs.push_back({dir / (base + ".bin"), dir / (base + ".qfs")});
            originals.push_back(std::move(data));
        }
    }
    runPeer("compress", pairs);
    for (std::size_t i = 0; i < originals.size(); ++i) {
        const std::string stream = test::readFile(pairs[i].second);
        ASSERT_GE(stream.size(), 5u);
        ASSERT_EQ(test::qfsStreamSize(stream), originals[i].size());
        std::string output;
        EXPECT_EQ(decodeText(stream, output), std::nullopt) << pairs[i].first;
        EXPECT_TRUE(output == originals[i]) << pairs[i].first;
    }
}

TEST(QfsNpmPeer, RealStreamsDecodeAsThePeerDecodesThem) {
    test::TempDir dir;
    std::vector<test::SampleStream> streams = test::relLabelsStreams();
    ASSERT_EQ(streams.size(), 583u);
    std::vector<std::pair<fs::path, fs::path>> pairs;
    for (const test::SampleStream& item : streams) {
        const std::string base = std::to_string(item.offset);
        test::writeFile(dir / (base + ".qfs"), item.stream);
        pairs.push_back({dir / (base + ".qfs"), dir / (base + ".out")});
    }
    runPeer("decompress", pairs);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        std::string output;
        EXPECT_EQ(decodeText(streams[i].stream, output), std::nullopt) << streams[i].offset;
        EXPECT_TRUE(output == test::readFile(pairs[i].second)) << streams[i].offset;
    }
}

}  // namespace
}  // namespace verada
