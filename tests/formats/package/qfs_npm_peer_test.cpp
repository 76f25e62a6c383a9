// Streams made and read by an independent QFS implementation, the npm package qfs-compression
// (installed into tests/peers by scripts/install-test-peers.sh).
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/package/archive_packer.h"
#include "formats/package/archive_unpacker.h"
#include "formats/package/qfs_compressor.h"
#include "formats/package/qfs_decompressor.h"
#include "tests/formats/package/qfs_sample_data.h"
#include "tests/formats/package/rellabels_streams.h"
#include "tests/support/test_paths.h"

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
            std::string data = kind == 0   ? test::textData(size, random)
                               : kind == 1 ? test::binaryData(size, random)
                                           : test::randomData(size, random);
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

    // The unpacker finds the same items through the package's compression directory.
    const std::string package =
        test::readFile(test::samplePath("qfs/sims2-simpe/RelLabels.package"));
    test::writeFile(dir / "RelLabels.package", package);
    ASSERT_TRUE(unpackArchive((dir / "RelLabels.package").string()));
    std::map<std::uint32_t, std::string> nameAt;
    const std::uint32_t indexOffset = test::sampleLe32(package, 40);
    for (std::uint32_t i = 0; i < test::sampleLe32(package, 36); ++i) {
        const std::size_t entry = indexOffset + 24 * std::size_t{i};
        nameAt[test::sampleLe32(package, entry + 16)] = itemFileName(
            test::sampleLe32(package, entry), test::sampleLe32(package, entry + 4),
            test::sampleLe32(package, entry + 8), test::sampleLe32(package, entry + 12));
    }
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const fs::path item = dir / "RelLabels" / nameAt[streams[i].offset];
        EXPECT_TRUE(test::readFile(item) == test::readFile(pairs[i].second)) << item;
    }
}

TEST(QfsNpmPeer, StreamsWeCompressDecodeWithThePeer) {
    test::TempDir dir;
    const std::vector<test::NamedBytes> inputs = test::compressorInputs();
    std::vector<std::pair<fs::path, fs::path>> pairs;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::string& bytes = inputs[i].bytes;
        const std::optional<std::vector<std::uint8_t>> stream =
            compressQfs(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ASSERT_TRUE(stream) << inputs[i].name;
        test::writeFile(dir / (std::to_string(i) + ".qfs"),
                        std::string(stream->begin(), stream->end()));
        pairs.push_back({dir / (std::to_string(i) + ".qfs"), dir / (std::to_string(i) + ".out")});
    }
    runPeer("decompress", pairs);
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        EXPECT_TRUE(test::readFile(pairs[i].second) == inputs[i].bytes) << inputs[i].name;
    }
}

// Every item the packer compresses, taken out of the package by its index entry, decodes with
// the peer to the file it was packed from.
TEST(QfsNpmPeer, CompressedPackagesDecodeWithThePeer) {
    test::TempDir dir;
    const fs::path source = dir / "src";
    fs::create_directory(source);
    std::mt19937 random(8);
    test::writeFile(source / "KL-_XML-CF6C21B8-00000001-00000001.xml",
                    test::textData(200000, random));
    test::writeFile(source / "KL-GMDL-00E6BCE5-00000001-00000002.gmdl",
                    test::readFile(test::samplePath("gmdl/Megamouth.gmdl")));
    test::writeFile(source / "KL-GMDC-AC4F8687-00000001-00000003.5gd",
                    test::readFile(test::samplePath("gmdc/TestMesh.5gd")));
    test::writeFile(source / "KL-UNKN-DEADBEEF-00000001-00000004.bnry",
                    test::binaryData(70000, random));
    ASSERT_TRUE(packArchive(source.string(), (dir / "out.package").string(), {},
                            ItemStorage::CompressedWhenSmaller));

    const std::string package = test::readFile(dir / "out.package");
    const std::uint32_t count = test::sampleLe32(package, 36);
    const std::uint32_t indexOffset = test::sampleLe32(package, 64);
    std::vector<std::pair<fs::path, fs::path>> pairs;
    std::vector<fs::path> sources;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = indexOffset + 8 + 28 * std::size_t{i};
        const std::uint32_t offset = test::sampleLe32(package, entry + 12);
        const std::uint32_t stored = test::sampleLe32(package, entry + 16) & 0x7FFFFFFF;
        ASSERT_EQ(test::sampleLe32(package, entry + 24) & 0xFFFF, 0xFFFFu) << i;
        const std::string base = std::to_string(i);
        test::writeFile(dir / (base + ".qfs"), package.substr(offset, stored));
        pairs.push_back({dir / (base + ".qfs"), dir / (base + ".out")});
        sources.push_back(source / itemFileName(test::sampleLe32(package, entry),
                                                test::sampleLe32(package, entry + 4),
                                                test::sampleLe32(package, entry + 8)));
    }
    ASSERT_EQ(pairs.size(), 4u);
    runPeer("decompress", pairs);
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        EXPECT_TRUE(test::readFile(pairs[i].second) == test::readFile(sources[i])) << sources[i];
    }
}

}  // namespace
}  // namespace verada
