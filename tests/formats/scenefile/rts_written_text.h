#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "formats/scenefile/rts_writer.h"

namespace verada::test {

// The scene file text the writer makes for a view and a scene.
inline std::string writtenRtsText(const ViewSettings& view, const SceneSnapshot& scene) {
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&data, &size);
    EXPECT_TRUE(writeRtsText(out, view, scene));
    std::fclose(out);
    std::string text(data, size);
    std::free(data);
    return text;
}

}  // namespace verada::test
