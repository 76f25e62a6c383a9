#pragma once

// Inputs and checks shared by the tests of failed saves.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/test_paths.h"

namespace verada::test {

inline std::string u32le(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>(value >> (8 * i));
    }
    return bytes;
}

// A DXT5 raster of 8 x 8 texels.
inline std::string smallRaster() {
    return u32le(1) + u32le(0) + u32le(0) + u32le(1) + u32le(8) + u32le(0x35545844) + u32le(256) +
           std::string(256, '\x11');
}

inline std::string itemName(int instance) {
    char name[64];
    std::snprintf(name, sizeof name, "KL-UNKN-00000001-00000002-%08X.bnry", instance);
    return name;
}

inline bool hasHiddenFile(const std::filesystem::path& folder) {
    for (const std::string& name : namesIn(folder)) {
        if (name[0] == '.') {
            return true;
        }
    }
    return false;
}

}  // namespace verada::test
