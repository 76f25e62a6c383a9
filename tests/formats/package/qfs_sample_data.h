#pragma once

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "formats/package/qfs_decompressor.h"
#include "tests/formats/package/rellabels_streams.h"
#include "tests/support/test_paths.h"

namespace verada::test {

// Inputs for QFS streams: words of a model description, vertex-like records and noise.
inline std::string textData(std::size_t size, std::mt19937& random) {
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

inline std::string binaryData(std::size_t size, std::mt19937& random) {
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

inline std::string randomData(std::size_t size, std::mt19937& random) {
    std::string data(size, '\0');
    for (char& c : data) {
        c = static_cast<char>(random());
    }
    return data;
}

struct NamedBytes {
    std::string name;
    std::string bytes;
};

// The items of the RelLabels sample package, decoded.
inline std::vector<NamedBytes> relLabelsItems() {
    std::vector<NamedBytes> items;
    for (const SampleStream& item : relLabelsStreams()) {
        std::string bytes(qfsStreamSize(item.stream), '\0');
        decompressQfs(reinterpret_cast<const std::uint8_t*>(item.stream.data()), item.stream.size(),
                      reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
        items.push_back({"RelLabels item at " + std::to_string(item.offset), std::move(bytes)});
    }
    return items;
}

// What a QFS compressor must carry through: edge sizes, runs, text, vertex data, noise with
// each tail length, a copy from the farthest distance at the longest length, and the items of
// real packages (the RelLabels streams, decoded).
inline std::vector<NamedBytes> compressorInputs() {
    std::mt19937 random(15);
    std::vector<NamedBytes> inputs = {
        {"empty", ""},
        {"one byte", "x"},
        {"three bytes", "abc"},
        {"zeros", std::string(1 << 20, '\0')},
        {"pattern", std::string(4000, 'a') + "abc" + std::string(4000, 'b')},
        {"text", textData(300000, random)},
        {"vertices", binaryData(300000, random)},
    };
    for (std::size_t size = 1000; size < 1004; ++size) {
        inputs.push_back({"noise " + std::to_string(size), randomData(size, random)});
    }
    const std::string repeated = randomData(1028, random);
    const std::string farthest = repeated + std::string(131072 - 1028, '\0') + repeated;
    inputs.push_back({"farthest", farthest});

    for (const auto& entry : std::filesystem::directory_iterator(samplePath("qfs/extracted"))) {
        if (entry.path().extension() == ".bin") {
            inputs.push_back({entry.path().filename().string(), readFile(entry.path())});
        }
    }
    for (NamedBytes& item : relLabelsItems()) {
        inputs.push_back(std::move(item));
    }
    return inputs;
}

}  // namespace verada::test
