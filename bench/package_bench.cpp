// Package tools benchmark: QFS decoding and compression against the npm qfs-compression
// package; packing (plain and compressed) and unpacking a 1 GiB, 20,000-item package against
// cat and cp -r of the same files. Each ratio compares figures of this run.
//   package_bench qfs WORK_DIR PEER_SCRIPT   (reads the RelLabels sample from VERADA_SAMPLES)
//   package_bench archive WORK_DIR
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "formats/package/archive_packer.h"
#include "formats/package/archive_unpacker.h"
#include "formats/package/qfs_compressor.h"
#include "formats/package/qfs_decompressor.h"
#include "tests/formats/package/qfs_sample_data.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

using verada::test::readFile;
using verada::test::writeFile;

bool shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

std::string textLike(std::size_t size, std::mt19937& random) {
    static const char* words[] = {
        "<prop name=\"", "modelMeshLOD0", "\" value=\"", "0x00E6BCE5", "creature", " part ", "\r\n",
        "float3 ",       "1.000000 ",     "bool true",   "</prop>",    "key ",     "text "};
    std::string text;
    while (text.size() < size) {
        text += words[random() % (sizeof words / sizeof *words)];
    }
    text.resize(size);
    return text;
}

std::string binaryLike(std::size_t size, std::mt19937& random) {
    std::string data;
    float x = 0;
    while (data.size() < size) {
        x += static_cast<float>(random() % 64) / 256.0f;
        data.append(reinterpret_cast<const char*>(&x), 4);
        std::uint32_t small = random() % 16;
        data.append(reinterpret_cast<const char*>(&small), 4);
        data.append(random() % 3 == 0 ? 8 : 4, '\0');
    }
    data.resize(size);
    return data;
}

// Compresses every item with ours and with the npm compressor; our streams must decode back.
bool benchCompression(const char* name, const std::vector<std::string>& items, int rounds,
                      const fs::path& work, const std::string& peerScript) {
    std::size_t inputBytes = 0;
    std::size_t streamBytes = 0;
    std::string files;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(items[i].data());
        const std::vector<std::uint8_t> stream = *verada::compressQfs(data, items[i].size());
        std::vector<std::uint8_t> output(items[i].size());
        auto error =
            verada::decompressQfs(stream.data(), stream.size(), output.data(), output.size());
        if (error || std::memcmp(output.data(), data, output.size()) != 0) {
            std::fprintf(stderr, "%s: our stream does not decode back\n", name);
            return false;
        }
        inputBytes += items[i].size();
        streamBytes += stream.size();
        const fs::path file = work / ("item" + std::to_string(i) + ".bin");
        writeFile(file, items[i]);
        files += " '" + file.string() + "'";
    }
    double best = 1e9;
    for (int round = 0; round < rounds; ++round) {
        std::clock_t start = std::clock();
        for (const std::string& item : items) {
            verada::compressQfs(reinterpret_cast<const std::uint8_t*>(item.data()), item.size());
        }
        best = std::min(best, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
    }
    const fs::path timing = work / "npm-time.txt";
    if (!shell("node '" + peerScript + "' time-compress " + std::to_string(rounds) + files +
               " > '" + timing.string() + "'")) {
        return false;
    }
    double npmSeconds = 0;
    std::size_t npmBytes = 0;
    std::istringstream(readFile(timing)) >> npmSeconds >> npmBytes;
    const double ours = static_cast<double>(inputBytes) / best / 1e6;
    const double theirs = static_cast<double>(inputBytes) / npmSeconds / 1e6;
    std::printf(
        "  %-15s %5.2f MB in %3zu: verada %6.1f MB/s, %8zu B (1:%.3f); npm qfs-compression "
        "%5.1f MB/s, %8zu B (1:%.3f); %.1fx the speed\n",
        name, static_cast<double>(inputBytes) / 1e6, items.size(), ours, streamBytes,
        static_cast<double>(inputBytes) / streamBytes, theirs, npmBytes,
        static_cast<double>(inputBytes) / npmBytes, ours / theirs);
    for (std::size_t i = 0; i < items.size(); ++i) {
        fs::remove(work / ("item" + std::to_string(i) + ".bin"));
    }
    return true;
}

int benchQfs(const fs::path& work, const std::string& peerScript) {
    std::mt19937 random(1);
    const std::size_t size = 12 << 20;
    struct Sample {
        const char* name;
        std::string data;
    };
    std::vector<Sample> samples = {{"text-like", textLike(size, random)},
                                   {"binary", binaryLike(size, random)}};
    std::printf(
        "QFS decode, %zu MiB per stream, best CPU time of a round (MB = 10^6 bytes of output)\n",
        size >> 20);
    for (const Sample& sample : samples) {
        const fs::path raw = work / (std::string(sample.name) + ".bin");
        const fs::path packed = work / (std::string(sample.name) + ".qfs");
        writeFile(raw, sample.data);
        if (!shell("node '" + peerScript + "' compress '" + raw.string() + "' '" + packed.string() +
                   "'")) {
            std::fprintf(stderr, "the npm peer failed; run scripts/install-test-peers.sh\n");
            return 1;
        }
        const std::string stream = readFile(packed);
        std::vector<std::uint8_t> input(stream.begin(), stream.end());
        std::vector<std::uint8_t> output(sample.data.size());
        auto error =
            verada::decompressQfs(input.data(), input.size(), output.data(), output.size());
        if (error || std::memcmp(output.data(), sample.data.data(), output.size()) != 0) {
            std::fprintf(stderr, "decode mismatch: %s\n", error.value_or("wrong bytes").c_str());
            return 1;
        }
        const int rounds = 20;
        double best = 1e9;
        for (int i = 0; i < rounds; ++i) {
            std::clock_t start = std::clock();
            verada::decompressQfs(input.data(), input.size(), output.data(), output.size());
            best = std::min(best, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
        }
        const fs::path timing = work / "npm-time.txt";
        if (!shell("node '" + peerScript + "' time-decompress '" + packed.string() + "' 10 > '" +
                   timing.string() + "'")) {
            return 1;
        }
        const double npm = std::stod(readFile(timing));
        const double ours = static_cast<double>(output.size()) / best / 1e6;
        const double theirs = static_cast<double>(output.size()) / npm / 1e6;
        std::printf(
            "  %-9s (compressed 1:%.2f): verada %7.0f MB/s, npm qfs-compression %6.0f MB/s, "
            "%.2fx\n",
            sample.name, static_cast<double>(output.size()) / input.size(), ours, theirs,
            ours / theirs);
    }

    std::printf(
        "QFS compress, best CPU time of a round (MB = 10^6 bytes of input; 1:ratio = input per "
        "stream byte)\n");
    const fs::path meshPath = verada::test::samplePath("gmdc/TestMesh.5gd");
    if (!fs::exists(verada::test::samplePath("qfs/sims2-simpe/RelLabels.package")) ||
        !fs::exists(meshPath)) {
        std::fprintf(stderr, "the sample files are missing: set VERADA_SAMPLES\n");
        return 1;
    }
    std::vector<std::string> relLabels;
    for (verada::test::NamedBytes& item : verada::test::relLabelsItems()) {
        relLabels.push_back(std::move(item.bytes));
    }
    const std::string mesh = readFile(meshPath);
    if (!benchCompression("text-like", {samples[0].data}, 3, work, peerScript) ||
        !benchCompression("binary", {samples[1].data}, 3, work, peerScript) ||
        !benchCompression("RelLabels items", relLabels, 10, work, peerScript) ||
        !benchCompression("TestMesh.5gd", {mesh}, 5, work, peerScript)) {
        return 1;
    }
    return 0;
}

void putLe32(std::string& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<char>(value >> (8 * i));
    }
}

void appendLe32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>(value >> (8 * i)));
    }
}

// 20,000 items totalling exactly 1 GiB, sizes spread from a few bytes to about 107 KB, written
// as files in two folders of 10,000 (the most one package takes) and as one DBPF package.
void generateItems(const fs::path& folder, const fs::path& packagePath) {
    const std::size_t count = 20000;
    const std::uint64_t total = 1ull << 30;
    std::mt19937_64 random(7);
    std::vector<std::uint64_t> sizes(count);
    std::uint64_t sum = 0;
    for (auto& size : sizes) {
        size = 1 + random() % (2 * total / count);
        sum += size;
    }
    std::int64_t rest = static_cast<std::int64_t>(total) - static_cast<std::int64_t>(sum);
    for (std::size_t i = 0; rest != 0; i = (i + 1) % count) {
        std::int64_t step =
            std::clamp<std::int64_t>(rest, -static_cast<std::int64_t>(sizes[i]) + 1, 100000);
        sizes[i] += step;
        rest -= step;
    }
    std::string block(2 * total / count + 200000, '\0');
    for (auto& c : block) {
        c = static_cast<char>(random());
    }

    std::string header(96, '\0');
    header.replace(0, 4, "DBPF");
    putLe32(header, 4, 2);
    putLe32(header, 36, static_cast<std::uint32_t>(count));
    putLe32(header, 60, 3);
    std::ofstream package(packagePath, std::ios::binary);
    package.write(header.data(), static_cast<std::streamsize>(header.size()));
    std::string index;
    appendLe32(index, 4);
    appendLe32(index, 0);
    std::uint32_t offset = 96;

    fs::create_directories(folder / "a");
    fs::create_directories(folder / "b");
    char name[64];
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t typeId = static_cast<std::uint32_t>(random());
        std::snprintf(name, sizeof name, "KL-UNKN-%08X-00000001-%08zX.bnry", typeId, i);
        const char* bytes = block.data() + i % 1000;
        const auto size = static_cast<std::streamsize>(sizes[i]);
        std::ofstream(folder / (i < count / 2 ? "a" : "b") / name, std::ios::binary)
            .write(bytes, size);
        package.write(bytes, size);
        for (std::uint32_t word : {typeId, 1u, static_cast<std::uint32_t>(i), offset,
                                   static_cast<std::uint32_t>(sizes[i]) | 0x80000000u,
                                   static_cast<std::uint32_t>(sizes[i]), 0x00010000u}) {
            appendLe32(index, word);
        }
        offset += static_cast<std::uint32_t>(sizes[i]);
    }
    package.write(index.data(), static_cast<std::streamsize>(index.size()));
    package.seekp(44);
    std::string words(24, '\0');
    putLe32(words, 0, static_cast<std::uint32_t>(index.size()));
    putLe32(words, 20, offset);
    package.write(words.data(), 24);
}

// Best wall time of the runs; run(i) writes outputs of its own. Nothing is deleted until every
// run is over: ext4 scans past the inodes of files deleted in the last minutes when it creates
// new ones, which made whatever ran after a deletion several times slower.
template <typename Run>
double bestOf(int runs, Run run) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        shell("sync");
        auto start = Clock::now();
        if (!run(i)) {
            std::fprintf(stderr, "run failed\n");
            std::exit(1);
        }
        best = std::min(best, secondsSince(start));
    }
    return best;
}

// A package holds at most 10,000 items: the 20,000 files are packed as their two halves.
constexpr const char* kHalves[] = {"a", "b"};

fs::path halfOutput(const fs::path& work, const char* half, const std::string& kind, int run) {
    return work / (std::string(half) + "." + kind + std::to_string(run));
}

bool packHalves(const fs::path& items, const fs::path& work, verada::ItemStorage storage,
                const std::string& kind, int run) {
    for (const char* half : kHalves) {
        verada::Result<verada::PackedArchive> packed = verada::packArchive(
            (items / half).string(), halfOutput(work, half, kind, run).string(), {}, storage);
        if (!packed) {
            std::fprintf(stderr, "%s\n", packed.error().c_str());
            return false;
        }
    }
    return true;
}

std::uint64_t halvesSize(const fs::path& work, const std::string& kind) {
    std::uint64_t size = 0;
    for (const char* half : kHalves) {
        size += fs::file_size(halfOutput(work, half, kind, 0));
    }
    return size;
}

int benchArchive(const fs::path& work) {
    const fs::path items = work / "items";
    std::printf("Generating 20000 items, 1 GiB, as files and as one package...\n");
    generateItems(items, work / "all.package");
    const int runs = 3;

    // The floor for packing: the same files' bytes, one after another, into one file per half;
    // then the same again with the file synced to disk at the end, as the packer's atomic
    // writer does.
    auto catHalves = [&](const std::string& kind, bool synced) {
        return [&, kind, synced](int run) {
            for (const char* half : kHalves) {
                const std::string out = halfOutput(work, half, kind, run).string();
                if (!shell("cd '" + (items / half).string() + "' && cat -- KL-* > '" + out + "'" +
                           (synced ? " && sync '" + out + "'" : ""))) {
                    return false;
                }
            }
            return true;
        };
    };
    double cat = bestOf(runs, catHalves("cat", false));
    double catSynced = bestOf(runs, catHalves("catsync", true));
    double pack = bestOf(runs, [&](int run) {
        return packHalves(items, work, verada::ItemStorage::AsIs, "plain", run);
    });
    double compressed = bestOf(runs, [&](int run) {
        return packHalves(items, work, verada::ItemStorage::CompressedWhenSmaller, "small", run);
    });
    std::printf(
        "Pack 1 GiB / 20000 files (two packages of 10000): verada %.2f s; cat into one file %.2f "
        "s, ratio %.2f; cat and sync of that file %.2f s, ratio %.2f\n",
        pack, cat, pack / cat, catSynced, pack / catSynced);
    std::printf(
        "Pack --compress (random bytes: nothing shrinks): %.2f s, %.2fx plain pack; %llu bytes "
        "against %llu\n",
        compressed, compressed / pack, static_cast<unsigned long long>(halvesSize(work, "small")),
        static_cast<unsigned long long>(halvesSize(work, "plain")));

    // The floor for unpacking: the same files copied into a fresh folder.
    double copy = bestOf(runs, [&](int run) {
        return shell("cp -r '" + items.string() + "' '" +
                     (work / ("copied" + std::to_string(run))).string() + "'");
    });
    // Each run unpacks a package of its own name, so into a fresh folder.
    double unpack = bestOf(runs, [&](int run) {
        const fs::path package = work / ("all" + std::to_string(run) + ".package");
        fs::rename(work / (run == 0 ? "all.package" : "all" + std::to_string(run - 1) + ".package"),
                   package);
        verada::Result<std::string> result = verada::unpackArchive(package.string());
        if (!result) {
            std::fprintf(stderr, "%s\n", result.error().c_str());
        }
        return result.ok();
    });
    std::printf(
        "Unpack 1 GiB / 20000 items: verada %.2f s, cp -r of the files into a fresh folder %.2f "
        "s, ratio %.2f\n",
        unpack, copy, unpack / copy);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::string(argv[1]) == "qfs") {
        return benchQfs(argv[2], argv[3]);
    }
    if (argc >= 3 && std::string(argv[1]) == "archive") {
        return benchArchive(argv[2]);
    }
    std::fprintf(stderr, "usage: package_bench qfs WORK_DIR PEER_SCRIPT | archive WORK_DIR\n");
    return 2;
}
