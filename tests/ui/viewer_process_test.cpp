#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

namespace verada {
namespace {

struct Outcome {
    int status;
    std::string output;
};

Outcome run(const std::string& command) {
    Outcome outcome{-1, {}};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    char buffer[512];
    while (pipe && fgets(buffer, sizeof buffer, pipe)) {
        outcome.output += buffer;
    }
    int status = pipe ? pclose(pipe) : -1;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

const std::string kOldConfig = "[SceneParms]\r\nCameraDist=7.5\r\n; kept as it is\r\n";

TEST(ViewerProcess, FailedStartExitsOneAndLeavesTheConfiguration) {
    struct Case {
        const char* what;
        const char* environment;
        const char* plugins;  // nothing: the build's list
        const char* reason;
    } cases[] = {
        {"no display", "env DISPLAY=:97 QT_QPA_PLATFORM=xcb", nullptr, "cannot open the X display"},
        {"no render system", "", "PluginFolder=/usr/lib/x86_64-linux-gnu/OGRE\n",
         "OpenGL Rendering Subsystem"},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        test::writeFile(dir / "Verada.cfg", kOldConfig);
        if (c.plugins) {
            test::writeFile(dir / "plugins.cfg", c.plugins);
        }
        Outcome outcome = run("cd '" + dir.path().string() + "' && " + c.environment + " '" +
                              test::veradaBinary().string() + "'");
        EXPECT_EQ(outcome.status, 1) << c.what << ": " << outcome.output;
        EXPECT_NE(outcome.output.find(c.reason), std::string::npos) << outcome.output;
        EXPECT_EQ(test::readFile(dir / "Verada.cfg"), kOldConfig) << c.what;
    }
}

TEST(ViewerProcess, HelpAndVersion) {
    Outcome version = run("'" + test::veradaBinary().string() + "' --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "Verada V0.22\n");
    Outcome help = run("'" + test::veradaBinary().string() + "' --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("Usage: verada"), std::string::npos) << help.output;
}

}  // namespace
}  // namespace verada
