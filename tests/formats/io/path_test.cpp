#include "formats/io/path.h"

#include <gtest/gtest.h>

namespace verada {
namespace {

TEST(Path, NamesAndFolders) {
    struct Case {
        const char* path;
        const char* withoutExtension;
        const char* baseName;
    };
    const Case cases[] = {
        {"foo.gmdl", "foo", "foo"},
        {"/a/b/foo.5gd", "/a/b/foo", "foo"},
        {"a\\b\\foo.simpe", "a\\b\\foo", "foo"},
        {"foo.extracted.5gd", "foo.extracted", "foo.extracted"},
        {"dir.v2/noext", "dir.v2/noext", "noext"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pathWithoutExtension(c.path), c.withoutExtension) << c.path;
        EXPECT_EQ(baseName(c.path), c.baseName) << c.path;
    }
    EXPECT_EQ(joinPath("/home/u", "a.txt"), "/home/u/a.txt");
    EXPECT_EQ(joinPath("/", "a.txt"), "/a.txt");
}

}  // namespace
}  // namespace verada
