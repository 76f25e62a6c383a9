#include "formats/config/recent_files.h"

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

namespace verada {
namespace {

using Paths = std::vector<std::string>;

// A session as the viewer runs it: read the list, open files, write it back at exit.
Paths afterSession(const std::string& configText, const Paths& opened, const Paths& vanished,
                   std::string* written = nullptr) {
    test::TempDir dir;
    std::string path = (dir / "Verada.cfg").string();
    test::writeFile(path, configText);
    RecentFiles files = loadRecentFiles(IniProfile::load(path));
    for (const std::string& file : opened) {
        files.add(file);
    }
    for (const std::string& file : vanished) {
        files.remove(file);
    }
    IniProfile atExit = IniProfile::load(path);
    saveRecentFiles(atExit, files);
    EXPECT_TRUE(atExit.save());
    if (written) {
        *written = test::readFile(path);
    }
    return loadRecentFiles(IniProfile::load(path)).paths();
}

TEST(RecentFiles, KeptThroughTheConfigurationFileNewestFirst) {
    const std::string eight =
        "[RecentFiles]\r\nFile0=/m/h.gmdl\r\nFile1=/m/g.gmdl\r\nFile2=/m/f.gmdl\r\n"
        "File3=/m/e.gmdl\r\nFile4=/m/d.gmdl\r\nFile5=/m/c.gmdl\r\nFile6=/m/b.gmdl\r\n"
        "File7=/m/a.gmdl\r\n";
    struct Case {
        const char* what;
        std::string config;
        Paths opened;
        Paths vanished;
        Paths expected;
    } cases[] = {
        {"first run", "", {"/m/a.5gd", "/m/b.gmsh"}, {}, {"/m/b.gmsh", "/m/a.5gd"}},
        {"a ninth file pushes the oldest out",
         eight,
         {"/m/i.gmdl"},
         {},
         {"/m/i.gmdl", "/m/h.gmdl", "/m/g.gmdl", "/m/f.gmdl", "/m/e.gmdl", "/m/d.gmdl", "/m/c.gmdl",
          "/m/b.gmdl"}},
        {"reopening moves a file to the front",
         eight,
         {"/m/c.gmdl"},
         {},
         {"/m/c.gmdl", "/m/h.gmdl", "/m/g.gmdl", "/m/f.gmdl", "/m/e.gmdl", "/m/d.gmdl", "/m/b.gmdl",
          "/m/a.gmdl"}},
        {"a vanished file leaves a gap-free list",
         eight,
         {},
         {"/m/h.gmdl", "/m/e.gmdl"},
         {"/m/g.gmdl", "/m/f.gmdl", "/m/d.gmdl", "/m/c.gmdl", "/m/b.gmdl", "/m/a.gmdl"}},
        {"gaps, repeats and lower-case keys of a hand-edited file",
         "[recentfiles]\nfile1=/m/x.gmdl\nFile2=  /m/y.gmdl  \nFile4=/m/x.gmdl\nFile9=/m/z.gmdl\n",
         {},
         {},
         {"/m/x.gmdl", "/m/y.gmdl"}},
        {"paths that cannot be kept",
         "",
         {"", "/m/two\nlines.gmdl", "/m/ok.gmdl"},
         {},
         {"/m/ok.gmdl"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(afterSession(c.config, c.opened, c.vanished), c.expected) << c.what;
    }
}

TEST(RecentFiles, LeavesTheRestOfTheFileAsItWas) {
    std::string written;
    afterSession(
        "[SceneParms]\r\nCameraDist=7.5\r\n\r\n[RecentFiles]\r\nFile0=/m/a.gmdl\r\n"
        "File1=/m/b.gmdl\r\n; a note\r\n",
        {"/m/c.gmdl"}, {"/m/a.gmdl", "/m/b.gmdl"}, &written);
    EXPECT_EQ(written,
              "[SceneParms]\r\nCameraDist=7.5\r\n\r\n[RecentFiles]\r\nFile0=/m/c.gmdl\r\n"
              "File1=\r\n; a note\r\n");
}

}  // namespace
}  // namespace verada
